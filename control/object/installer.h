// CInstaller: the Installer control object. It is the object's identity (the non-delegating
// IUnknown with the interface table), implements the members of IInstaller and Init's
// pipeline, and owns its parts privately: the COM parts, the embedding state, the control
// window's panel and the download controller with its engine. Each part is given only what it
// needs.
#pragma once

#include "base/com_ptr.h"
#include "control/download/controller_clock.h"
#include "control/download/download_controller.h"
#include "control/download/downloader_engine.h"
#include "control/object/embedding_state.h"
#include "control/object/installer_automation.h"
#include "control/object/installer_class_info.h"
#include "control/object/installer_connection_points.h"
#include "control/object/installer_control.h"
#include "control/object/installer_controller_owner.h"
#include "control/object/installer_data_object.h"
#include "control/object/installer_events.h"
#include "control/object/installer_inplace.h"
#include "control/object/installer_ole_object.h"
#include "control/object/installer_persist.h"
#include "control/object/installer_safety.h"
#include "control/object/installer_scripting.h"
#include "control/object/installer_view.h"
#include "control/object/site_guard.h"
#include "control/window/child_panel.h"
#include "control/window/control_window.h"
#include "files/unpacked_files.h"

#include <windows.h>

#include <string>

class CInstaller final : public IUnknown,
                         private InstallerScripting,
                         private ControlWindowFactory,
                         private ControlWindowOwner {
    // Declared first: the lock is released last, and the parts are built from controlling_.
    struct ModuleLockHolder {
        ModuleLockHolder();
        ~ModuleLockHolder();
    };
    ModuleLockHolder moduleLock_;
    IUnknown* controlling_;
    LONG references_ = 1;

public:
    // Creates an object and hands out `riid` of it; `outer` aggregates it.
    static HRESULT Create(IUnknown* outer, REFIID riid, void** object) noexcept;

    explicit CInstaller(IUnknown* outer);
    ~CInstaller();
    CInstaller(const CInstaller&) = delete;
    CInstaller& operator=(const CInstaller&) = delete;

    // The non-delegating IUnknown: the interface table and the reference count.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

private:
    // The interface for `riid` among the parts, or null.
    void* FindInterface(REFIID riid);

    // IInstaller members (reached through the automation part).
    HRESULT GetBasePath(BSTR* value) noexcept override;
    HRESULT PutBasePath(BSTR value) noexcept override;
    HRESULT GetInfoFileName(BSTR* value) noexcept override;
    HRESULT PutInfoFileName(BSTR value) noexcept override;
    HRESULT Init(BSTR url, BSTR fileName) noexcept override;

    // ControlWindowFactory (for the in-place part).
    HWND CreateControlWindowIn(HWND parent) override;
    bool TranslateWindowKey(const MSG& message) override { return panel_.TranslateKey(message); }

    // ControlWindowOwner (for the control window's procedure).
    void OnWindowCreated(HWND window) override;
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    COLORREF LabelTextColor() const override { return panel_.textColor(); }
    void DrawItem(const DRAWITEMSTRUCT& item) override { panel_.DrawItem(item); }
    void OnWindowDestroying() override;
    void OnWindowGone(HWND window) override;

    // Init's last stage: the skinned window is built, or, before the window exists, the
    // skin's definition is checked and the window is dressed when it is created. Pictures
    // just unpacked are taken from `unpacked` rather than read back.
    HRESULT BuildSkin(const kv::UnpackedFiles& unpacked);
    // A failure for script when Init or the properties are asked for while Init or a
    // transfer is under way; S_OK when the object is free.
    HRESULT RefuseWhileBusy() const;

    // Site lock: whether the page that holds the control is one it may work for. Declared
    // before the parts, which consult it.
    kv::SiteGuard siteGuard_;

    // The parts, one per group of interfaces.
    CEmbeddingState embedding_;
    CProxy_IInstallerEvents events_;
    CInstallerAutomation automation_;
    CInstallerView view_;
    CInstallerInPlace inPlace_;
    CInstallerOleObject oleObject_;
    CInstallerControl control_;
    CInstallerPersist persist_;
    CInstallerClassInfo classInfo_;
    CInstallerConnectionPoints connectionPoints_;
    CInstallerDataObject dataObject_;
    CInstallerSafety safety_;

    // The control window's children and their controller, which owns the job.
    CChildPanel panel_;
    CInstallerControllerOwner controllerOwner_;
    kv::CDownloaderEngine engine_;
    kv::SystemClock clock_;
    CDownloadController controller_;

    // The page's values and Init's arguments.
    std::string baseUrl_;
    std::string basePath_;
    std::string infoFileName_;
    std::string fileName_;
    bool initRunning_ = false;
};
