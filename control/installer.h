// CInstaller: the Installer control object. It is the object's identity (the non-delegating
// IUnknown with the interface table), holds the control's state, and implements the members
// of IInstaller, ReportError and the events; the COM interfaces live in its parts.
#pragma once

#include "base/com_ptr.h"
#include "control/embedding_state.h"
#include "control/installer_automation.h"
#include "control/installer_class_info.h"
#include "control/installer_connection_points.h"
#include "control/installer_control.h"
#include "control/download_controller.h"
#include "control/installer_children.h"
#include "control/installer_controller_owner.h"
#include "control/installer_data_object.h"
#include "control/installer_events.h"
#include "control/installer_inplace.h"
#include "control/installer_ole_object.h"
#include "control/installer_persist.h"
#include "control/installer_safety.h"
#include "control/installer_view.h"
#include "control/site_guard.h"
#include "net/http_downloader.h"

#include <windows.h>

#include <cstdint>
#include <string>

class CInstaller final : public IUnknown {
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

    // The outer object when aggregated, else this object.
    IUnknown* Controlling() const noexcept { return controlling_; }

    // IInstaller members (reached through the automation part).
    HRESULT GetBasePath(BSTR* value) noexcept;
    HRESULT PutBasePath(BSTR value) noexcept;
    HRESULT GetInfoFileName(BSTR* value) noexcept;
    HRESULT PutInfoFileName(BSTR value) noexcept;
    HRESULT Init(BSTR url, BSTR fileName) noexcept;

    HRESULT FireOnCreate() { return eventSource.FireOnCreate(); }
    HRESULT FireOnClose() { return eventSource.FireOnClose(); }

    // Site lock: whether the page that holds the control is one it may work for. Declared
    // before the parts, which consult it.
    kv::SiteGuard siteGuard;

    // The parts, one per group of interfaces.
    CInstallerAutomation automation;
    CInstallerView view;
    CInstallerInPlace inPlace;
    CInstallerControl control;
    CInstallerOleObject oleObject;
    CInstallerPersist persist;
    CInstallerClassInfo classInfo;
    CInstallerConnectionPoints connectionPoints;
    CInstallerDataObject dataObject;
    CInstallerSafety safety;

    CEmbeddingState embedding;

    CProxy_IInstallerEvents eventSource;
    CHttpDownloaderEx downloader;
    // The control window's children and their controller, which owns the transfer state.
    CInstallerChildren children;
    CInstallerControllerOwner controllerOwner{*this};
    CDownloadController controller{children, controllerOwner, downloader};

    // The page's values and Init's arguments.
    std::string baseUrl;
    std::string basePath;
    std::string infoFileName;
    std::string fileName;

    // True while Init runs: its transfers pump messages, and a page's handler may call back.
    bool InitRunning() const { return initRunning_; }

    // Called by the control window once its children exist: binds the downloader and,
    // when Init has already run, dresses the new window from the skin.
    void OnWindowCreated(HWND window);

private:
    // Init's archive stage: the skin archive is fetched and unpacked unless it is on disk.
    HRESULT FetchSkinArchive();
    // Init's last stage: the skinned window is built, or, before the window exists, the
    // skin's definition is checked and the window is dressed when it is created.
    HRESULT BuildSkin();
    // A failure for script when Init or the properties are asked for while Init or a
    // transfer is under way; S_OK when the object is free.
    HRESULT RefuseWhileBusy() const;

    bool initRunning_ = false;
};
