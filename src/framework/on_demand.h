// System functions that only some paths of the program call, from libraries loaded on the
// first call instead of imported: an imported library is loaded when the program starts, and
// the launcher that only hands its target to the shell needs none of these. winmm (which
// brings msacm32 along) serves the start-up sound and the designer's preview of it; oleaut32
// serves the splash picture and the strings and variants of the viewer's hosted controls. Each
// library is loaded from the system folder, never from beside the program on the disc. When a
// library or a function is missing, the call answers as a failed call would.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <ole2.h>
#include <olectl.h>

namespace fw {

// mciSendStringW with no reply wanted; MCIERR_CANNOT_LOAD_DRIVER without winmm.
MCIERROR SendMciCommand(const wchar_t* command);
// PlaySoundW of a file or alias (no module); FALSE without winmm.
BOOL PlaySoundNamed(const wchar_t* name, DWORD flags);

// SysAllocStringLen; null without oleaut32, as when out of memory.
BSTR AllocBstr(const wchar_t* text, UINT length);
// SysFreeString and SysStringLen. A BSTR exists only once oleaut32 is loaded.
void FreeBstr(BSTR text);
UINT BstrLength(BSTR text);
// VariantClear.
HRESULT ClearVariant(VARIANT* value);
// OleLoadPicture and OleCreatePictureIndirect.
HRESULT LoadPicture(IStream* stream, LONG size, BOOL runMode, REFIID iid, void** picture);
HRESULT CreatePicture(PICTDESC* desc, REFIID iid, BOOL own, void** picture);

} // namespace fw
