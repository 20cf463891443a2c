// Dresses the control window from the skin unpacked in the base folder: the background and
// button pictures, then the places of every control from Config.ini, both scaled by the
// window's dpi / 96. It only reads the skin's files; the texts, the folder and the size
// belong to the controller's job.
#pragma once

#include <windows.h>

#include <string>

class CChildPanel;
namespace kv {
class UnpackedFiles;
}

// The background and the twenty button pictures. The last background is released before the
// new one is loaded, and only the part of it that the window can show is kept. One decoder
// reads them all; a picture found in `unpacked` is decoded from the bytes kept there.
void ApplySkinPictures(std::string& basePath, CChildPanel& panel, const kv::UnpackedFiles* unpacked = nullptr);
// Places the controls; E_INVALIDARG at the first key that is missing or short (what was
// placed before it stays), else S_OK. An empty base folder is formed by the skin path rule.
HRESULT LayoutSkinWindow(std::string& basePath, CChildPanel& panel);
// The same checks without a window: E_INVALIDARG when LayoutSkinWindow would fail.
HRESULT CheckSkinDefinition(std::string& basePath);
