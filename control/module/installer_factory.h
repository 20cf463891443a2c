// Creates an Installer control object; the class factory's instance creator.
#pragma once

#include <windows.h>
#include <unknwn.h>

// Plain instances when `outer` is null; aggregated instances answer for `outer`.
HRESULT CreateInstallerInstance(IUnknown* outer, REFIID riid, void** object);
