#include <gtest/gtest.h>

#include "controls/shell_open.h"

namespace {

TEST(OpenErrorMessage, NamesTheCauseForEveryCodeOfTheTable) {
    struct Case {
        int code;
        const char* text;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred."},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        // Codes between and around them have no text of their own.
        {1, "Unknown Error (1) occurred."},
        {4, "Unknown Error (4) occurred."},
        {33, "Unknown Error (33) occurred."},
        {-1, "Unknown Error (-1) occurred."},
        {-2147483647 - 1, "Unknown Error (-2147483648) occurred."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::OpenErrorMessage(c.code), std::string("Can't open link:\n\n") + c.text) << "code " << c.code;
}

TEST(BrowserCommandLine, PutsTheAddressWhereThePlaceholderWas) {
    const std::string address = "https://vintrosk.example/vintrosk/";
    struct Case {
        const char* command;
        const char* expected;
    } cases[] = {
        // Quoted placeholder with options after it: both go, the address takes their place.
        {"\"C:\\Program Files\\Browser\\browser.exe\" \"%1\" -nohome -new",
         "\"C:\\Program Files\\Browser\\browser.exe\"  https://vintrosk.example/vintrosk/"},
        {"C:\\browser.exe -url \"%1\"", "C:\\browser.exe -url  https://vintrosk.example/vintrosk/"},
        // Bare placeholder.
        {"C:\\browser.exe %1 -nohome", "C:\\browser.exe  https://vintrosk.example/vintrosk/"},
        // The quoted form wins even when a bare %1 comes first.
        {"b.exe -x %1x \"%1\"", "b.exe -x %1x  https://vintrosk.example/vintrosk/"},
        // No placeholder: the whole command stays, the address follows it.
        {"C:\\browser.exe -nohome", "C:\\browser.exe -nohome https://vintrosk.example/vintrosk/"},
        {"", " https://vintrosk.example/vintrosk/"},
        // A placeholder of another kind is no %1.
        {"C:\\browser.exe %L", "C:\\browser.exe %L https://vintrosk.example/vintrosk/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::BrowserCommandLine(c.command, address), c.expected) << c.command;
}

TEST(BrowserCommandLine, HandsAnEmailAddressOverUnchanged) {
    EXPECT_EQ(vk::BrowserCommandLine("b.exe \"%1\"", "support@vintrosk.example"), "b.exe  support@vintrosk.example");
}

} // namespace
