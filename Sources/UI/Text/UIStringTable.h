#pragma once
// The application library's string table and the loader that reaches it; the host program (and each test
// program) calls AddUIStringLoader once at start-up, beside the core's.

#include "win/Win32Types.h"

inline constexpr UINT IDS_LAYER = 14264;
inline constexpr UINT IDS_SMALLER_BACKGROUND = 14265;
// The plug-ins' file masks ("|"-separated), the company part of the settings key, and the string id under which
// each plug-in announces its contexts ("{ClassName=menu text|prompt}" groups).
inline constexpr UINT IDS_PLUGIN_MASKS = 14267;
inline constexpr UINT IDS_COMPANY = 14268;
inline constexpr UINT IDS_PLUGIN_CONTEXTS = 14269;
// The framework's document messages, with the ids they have there.
inline constexpr UINT AFX_IDP_INVALID_FILENAME = 0xF100;
inline constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 0xF101;
inline constexpr UINT AFX_IDP_FAILED_TO_SAVE_DOC = 0xF102;

HMODULE GetUIModule();
// Registers a GString loader that finds the application library's strings; later calls do nothing.
void AddUIStringLoader();
