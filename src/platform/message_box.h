#pragma once

#include "platform/system_services.h"
#include "platform/win_types.h"

#include <string>

constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x0002;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_RETRYCANCEL = 0x0005;
constexpr UINT MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONHAND = 0x0010;
constexpr UINT MB_ICONERROR = 0x0010;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONWARNING = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_ICONMASK = 0x00F0;
constexpr UINT MB_DEFBUTTON2 = 0x0100;

// The application's message box: its caption is the application title. Callable from any thread;
// from a worker thread it is shown by the user-interface thread while the worker waits. Returns the
// pressed button (IDOK, IDYES ...).
int AfxMessageBox(const std::string& text, UINT style = MB_OK, UINT helpId = 0);
// The same with the text of a string resource.
int AfxMessageBox(UINT stringId, UINT style = MB_OK, UINT helpId = 0);
