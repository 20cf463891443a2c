// Reads a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) for its size and font, and turns
// dialog units into pixels the way the dialog manager would.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

struct DialogTemplateInfo {
    short width = 0;   // dialog units
    short height = 0;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    BYTE charset = DEFAULT_CHARSET;
    std::wstring faceName;
};

// Empty when the bytes are not a complete template.
std::optional<DialogTemplateInfo> ParseDialogTemplate(const void* data, size_t size);

// Dialog units to pixels with the base units of the template's font on a screen of `dpi`
// (the system font when the template names none), as MapDialogRect does for a dialog window.
SIZE DialogUnitsToPixels(const DialogTemplateInfo& info, int width, int height, int dpi);

// The control's default extent: dialog `id` of `module`, in HIMETRIC; zero when the
// template cannot be read. It is the template's size on a 96 dpi screen, whatever the
// screen's resolution: a container shows it at dpi / 96 times its 96 dpi size, as a
// browser scales a page.
SIZEL DefaultExtentFromTemplate(HMODULE module, int id);
