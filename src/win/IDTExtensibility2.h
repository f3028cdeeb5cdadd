// IDTExtensibility2, the interface through which the IDE loads and unloads an add-in. MinGW-w64
// declares neither it nor its enums; the layout and numbers are the published ones: a dual
// interface whose five methods follow IDispatch's slots, DISPIDs 1 to 5 in the same order.
#pragma once

#include <oaidl.h>

enum ext_ConnectMode { ext_cm_AfterStartup = 0, ext_cm_Startup = 1, ext_cm_External = 2, ext_cm_CommandLine = 3 };
enum ext_DisconnectMode { ext_dm_HostShutdown = 0, ext_dm_UserClosed = 1 };

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                                   IDispatch* AddInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};
__CRT_UUID_DECL(IDTExtensibility2, 0xb65ad801, 0xabaf, 0x11d0, 0xbb, 0x8b, 0x00, 0xa0, 0xc9, 0x0f, 0x27, 0x44)

inline constexpr IID IID_IDTExtensibility2 = {0xb65ad801, 0xabaf, 0x11d0, {0xbb, 0x8b, 0x00, 0xa0, 0xc9, 0x0f, 0x27, 0x44}};

enum IDTExtensibility2Dispid {
    dispidOnConnection = 1,
    dispidOnDisconnection = 2,
    dispidOnAddInsUpdate = 3,
    dispidOnStartupComplete = 4,
    dispidOnBeginShutdown = 5,
};
