// What the control knows about its host while it is embedded: the sites, the advise sinks,
// its extent and its place, and the control window. Shared by the embedding parts.
#pragma once

#include "base/com_ptr.h"
#include "base/unique_resource.h"

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

struct CEmbeddingState {
    kv::ComPtr<IOleClientSite> clientSite;
    kv::ComPtr<IOleInPlaceSite> inPlaceSite;
    kv::ComPtr<IOleInPlaceFrame> frame;
    kv::ComPtr<IOleInPlaceUIWindow> document;
    kv::ComPtr<IOleAdviseHolder> oleAdviseHolder;
    kv::ComPtr<IDataAdviseHolder> dataAdviseHolder;
    kv::ComPtr<IAdviseSink> viewSink;
    DWORD viewAspects = 0;
    DWORD viewAdviseFlags = 0;
    SIZEL extent{};    // HIMETRIC
    RECT position{};   // pixels, in the site window's client area
    bool inPlaceActive = false;
    bool uiActive = false;
    bool dirty = false;
    kv::unique_hwnd window;  // the control window (dialog 105)
};
