#pragma once

#include <windows.h>

#include <string>

// The help file: the program's own path, lower-cased, with ".exe" replaced
// by ".chm".
std::string HelpFilePath();

// Opens the help file at its index through HTML Help ("hhctrl.ocx", loaded
// on demand). Failure is not reported.
void OpenHelpFile(HWND owner);

// The HTML Help entry point; tests replace it to observe the call.
using HtmlHelpFunction = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
extern HtmlHelpFunction g_pfnHtmlHelpOverride;
