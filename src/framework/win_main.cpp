// The process's entry: the one application object's InitInstance (common controls load with the
// first dialog).
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "framework/app.h"

// The program throws nothing itself; a plain abort keeps libstdc++'s demangling terminate
// handler (about 77 KB) out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

// Nothing catches what the library would throw, so it ended in terminate and abort anyway.
// Aborting at once keeps the exception classes, their strings and the unwinder out.
namespace std {
void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
} // namespace std

// The library's own std::string is built with exception handling, which brings the unwinder
// with it; instantiated here, without exceptions, only what the program uses is kept.
template class std::__cxx11::basic_string<char>;

// No new-handler is ever set, so the library's operator new could only throw bad_alloc.
void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1))
        return p;
    std::abort();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (fw::WinApp* app = fw::WinApp::Current())
        app->InitInstance();
    return 0;
}
