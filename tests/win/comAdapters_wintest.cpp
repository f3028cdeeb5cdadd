// The late-bound adapters against objects served in this process: what the scenarios run through
// the simulated IDE cannot show - error numbers both ways, arguments left out, by-reference
// write-back, property puts of text outside ASCII, identity, and the event sinks' reference counts.
// Telling the IDE's objects apart at connection and the tool window's document coming back by
// reference are what every scenario run through COM and the bare IDE start with.
#include "platform/ui/Clipboard.h"
#include "platform/vbide/CommandBar.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarControls.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/FileControlEvents.h"
#include "platform/vbide/VBE.h"
#include "platform/vbide/VBProject.h"
#include "platform/vss/VSSErrors.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/com/DispatchServer.h"
#include "platform/win/com/Remote.h"
#include "platform/win/com/VariantConvert.h"
#include "platform/win/vbide/adaptDispatch.h"
#include "platform/win/vbide/adapters.h"
#include "platform/win/vbide/eventInterfaces.h"
#include "wintest.h"

#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace {

using com::ComPtr;

vb::Variant objectOf(IDispatch* served) {
    return std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(served));
}

com::Dispatch held(IDispatch* served) { return com::Dispatch(served); }

// ---- served stand-ins for the IDE's objects -------------------------------------------------

class FakeControl : public com::DispatchServer<> {
public:
    FakeControl()
        : DispatchServer({
              {L"Caption", 1, [this](com::Args&) { return vb::Variant(caption); },
               [this](com::Args& a) { caption = a.value().toString(); }},
              {L"Execute", 2,
               [](com::Args&) -> vb::Variant {
                   throw vb::VBError(-2147467259, "Method 'Execute' of object 'CommandBarControl' failed", "Office");
               }},
              {L"Controls", 3, [](com::Args&) -> vb::Variant { throw vb::VBError(5, "", "Office"); }},
              {L"Delete", 4,
               [this](com::Args& a) {
                   deleteArgs = static_cast<int>(a.count());
                   return vb::Variant();
               }},
              {L"PasteFace", 5, [this](com::Args&) { return pasteFace(); }},
              {L"CopyFace", 6, [](com::Args&) { return vb::Variant(); }},  // the face pasted is still there
          }) {}
    std::string caption;
    int deleteArgs = -1;
    size_t pastedBytes = 0;

private:
    vb::Variant pasteFace() {
        if (!OpenClipboard(nullptr)) throw vb::VBError(521, "Can't open Clipboard");
        HANDLE dib = GetClipboardData(CF_DIB);
        pastedBytes = dib ? GlobalSize(dib) : 0;
        CloseClipboard();
        return {};
    }
};

class FakeBar : public com::DispatchServer<> {
public:
    explicit FakeBar(IDispatch* control)
        : DispatchServer({{L"FindControl", 1, [this, control](com::Args& a) {
                              given = static_cast<int>(a.count());
                              typeGiven = a.has(0);
                              id = a.has(1) ? a[1].toLong() : -1;
                              return id == 30038 ? objectOf(control) : vb::Variant(std::shared_ptr<vb::Object>());
                          }}}) {}
    int given = -1;
    bool typeGiven = true;
    int32_t id = 0;
};

// Hands out one connection point, once.
class OnePoint final : public com::ComObject<IEnumConnectionPoints> {
public:
    explicit OnePoint(IConnectionPoint* point) : point_(point) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        ULONG given = 0;
        if (count > 0 && !done_) {
            points[0] = point_.Get();
            points[0]->AddRef();
            done_ = true;
            given = 1;
        }
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints**) override { return E_NOTIMPL; }

private:
    ComPtr<IConnectionPoint> point_;
    bool done_ = false;
};

// An event source with one connection point for events, which counts what the add-in's sink does
// to it.
class FakeSource : public com::DispatchServer<IDispatch, IConnectionPointContainer, IConnectionPoint> {
public:
    explicit FakeSource(IID events = vbide::win::DIID_CommandBarControlEvents) : DispatchServer({}), events_(events) {}

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
        *points = new OnePoint(this);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        *point = nullptr;
        if (iid != events_) return CONNECT_E_NOCONNECTION;
        *point = this;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = events_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        if (sink_) return CONNECT_E_ADVISELIMIT;
        if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(sink_.GetAddressOf())))) {
            return CONNECT_E_CANNOTCONNECT;
        }
        refsWhenAdvised = sink_->AddRef() - 1;
        sink_->Release();
        *cookie = 7;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        if (cookie != 7 || !sink_) return CONNECT_E_NOCONNECTION;
        ++unadvised;
        if (keepSinkAfterUnadvise) return S_OK;
        refsLeftAtUnadvise = sink_.Detach()->Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Raises event with args in their declared order, as the IDE does (DISPPARAMS reversed).
    HRESULT fire(DISPID event, std::vector<VARIANT> args, EXCEPINFO* info = nullptr) {
        if (!sink_) return S_FALSE;
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        return sink_->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, info, nullptr);
    }
    // Click(control, handled, CancelDefault), the Booleans by reference.
    HRESULT click(IDispatch* control, VARIANT_BOOL& handled, VARIANT_BOOL& cancelDefault, EXCEPINFO* info) {
        VARIANT args[3];
        args[0].vt = VT_DISPATCH;
        args[0].pdispVal = control;
        args[1].vt = VT_BYREF | VT_BOOL;
        args[1].pboolVal = &handled;
        args[2].vt = VT_BYREF | VT_BOOL;
        args[2].pboolVal = &cancelDefault;
        return fire(vbide::win::dispidClick, {args[0], args[1], args[2]}, info);
    }

    ULONG refsWhenAdvised = 0;
    ULONG refsLeftAtUnadvise = 99;
    int unadvised = 0;
    bool keepSinkAfterUnadvise = false;

private:
    IID events_;
    ComPtr<IDispatch> sink_;
};

// Somebody else's sink for the file events, which takes a source's one connection.
class OtherSink : public com::DispatchServer<> {
public:
    OtherSink() : DispatchServer({}, {vbide::win::DIID_FileControlEvents}) {}
};

class FakeAddIn : public com::DispatchServer<> {
public:
    FakeAddIn() : DispatchServer({{L"ProgId", 1, [](com::Args&) { return vb::Variant("nimbvbadd.Connect"); }}}) {}
};

class FakeEvents : public com::DispatchServer<> {
public:
    explicit FakeEvents(IDispatch* source)
        : DispatchServer({{L"CommandBarEvents", 1, [source](com::Args& a) {
              if (!a[0].isObject()) throw vb::VBError(5, "Invalid procedure call or argument");
              return objectOf(source);
          }}}) {}
};

class FakeVBE : public com::DispatchServer<> {
public:
    explicit FakeVBE(IDispatch* events)
        : DispatchServer({{L"VBProjects", 1, [](com::Args&) { return vb::Variant(); }},
                          {L"Events", 2, [events](com::Args&) { return objectOf(events); }}}) {}
};

class FakeDatabase : public com::DispatchServer<> {
public:
    FakeDatabase()
        : DispatchServer({{L"Open", 1, [](com::Args&) -> vb::Variant {
              throw vb::VBError(vss::errBadPassword, "Invalid password", "SourceSafe");
          }}}) {}
};

// ---- cases ----------------------------------------------------------------------------------

void propertyPutsCarryText() {
    auto served = com::make<FakeControl>();
    auto control = vbide::win::adaptCommandBarControl(held(served.Get()));
    const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC";  // Grüße € 日本
    control->setCaption(text);
    CHECK(served->caption == text);
    CHECK(control->Caption() == text);
}

// A 2 x 1 bitmap of 24 bits a pixel, as a .bmp file: 14 + 40 header bytes and one padded row.
std::vector<uint8_t> smallBitmap() {
    std::vector<uint8_t> file = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
                                 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0,
                                 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0, 0};
    return file;
}

void facesTravelOverTheClipboard() {
    auto served = com::make<FakeControl>();
    auto control = vbide::win::adaptCommandBarControl(held(served.Get()));
    auto bitmap = smallBitmap();
    ui::Clipboard::SetData(std::make_shared<ui::Picture>(ui::PictureKind::Bitmap, 2, 1, "bitmap 1", bitmap));
    control->PasteFace();
    CHECK(served->pastedBytes == bitmap.size() - 14);
    auto face = control->Face();
    CHECK(face != nullptr && face->kind() == ui::PictureKind::Bitmap);
    CHECK(face != nullptr && face->widthPx() == 2 && face->heightPx() == 1);
    CHECK(face != nullptr && face->bytes() == bitmap);
    ui::Clipboard::Clear();
}

void failedCallsRaiseWhatVBRaises() {
    auto served = com::make<FakeControl>();
    auto control = vbide::win::adaptCommandBarControl(held(served.Get()));
    auto failed = wintest::raised([&] { control->Execute(); });
    CHECK(failed.number() == -2147467259);
    CHECK(failed.description() == "Method 'Execute' of object 'CommandBarControl' failed");
    CHECK(failed.source() == "Office");
    // A VB number travels as 0x800A0000 | n; without a description VB's own text stands in.
    auto invalid = wintest::raised([&] { control->Controls(); });
    CHECK(invalid.number() == 5);
    CHECK(invalid.description() == "Invalid procedure call or argument");
    auto unknown = wintest::raised([&] { control->OnAction(); });
    CHECK(unknown.number() == 438);
    CHECK(unknown.description() == "Object doesn't support this property or method");
    // SourceSafe's own codes are HRESULTs and stay as they are.
    auto database = com::make<FakeDatabase>();
    auto login = wintest::raised([&] { com::Dispatch(database.Get()).call("Open", {"x", "y", "z"}); });
    CHECK(login.number() == vss::errBadPassword);
    CHECK(login.description() == "Invalid password");
    CHECK(com::vbNumberOf(DISP_E_BADPARAMCOUNT) == 450);
    CHECK(com::vbNumberOf(DISP_E_TYPEMISMATCH) == 13);
    CHECK(com::vbNumberOf(E_NOINTERFACE) == 430);
    CHECK(com::vbNumberOf(E_OUTOFMEMORY) == 7);
}

void optionalArgumentsStayOut() {
    auto control = com::make<FakeControl>();
    auto served = com::make<FakeBar>(control.Get());
    auto bar = vbide::win::adaptCommandBar(held(served.Get()));
    auto found = bar->FindControl({.Id = 30038});
    CHECK(served->given == 2);
    CHECK(!served->typeGiven);
    CHECK(served->id == 30038);
    CHECK(found != nullptr);
    CHECK(bar->FindControl({.Tag = std::string("none")}) == nullptr);
    CHECK(served->given == 3);
    // One COM object is one port object while it is held.
    CHECK(bar->FindControl({.Id = 30038}) == found);
    CHECK(found == vbide::win::adaptCommandBarControl(held(control.Get())));
    found->Delete();
    CHECK(control->deleteArgs == 0);
    found->Delete(true);
    CHECK(control->deleteArgs == 1);
}

void clicksReachTheHandlerAndAnswerBack() {
    auto source = com::make<FakeSource>();
    auto events = com::make<FakeEvents>(source.Get());
    auto control = com::make<FakeControl>();
    auto vbe = vbide::win::adaptVBE(held(com::make<FakeVBE>(events.Get()).Get()));
    auto button = vbide::win::adaptCommandBarControl(held(control.Get()));
    auto clicks = vbe->Events()->CommandBarEvents(button);
    const vb::Object* clicked = nullptr;
    clicks->onClick([&](vb::Object& c, bool& handled, bool& cancelDefault) {
        clicked = &c;
        handled = true;
        cancelDefault = !cancelDefault;
    });
    VARIANT_BOOL handled = VARIANT_FALSE, cancelDefault = VARIANT_TRUE;
    CHECK(source->click(control.Get(), handled, cancelDefault, nullptr) == S_OK);
    CHECK(clicked == button.get());
    CHECK(handled == VARIANT_TRUE);
    CHECK(cancelDefault == VARIANT_FALSE);
    // A handler's error goes back to the IDE as the exception VB would report.
    clicks->onClick([](vb::Object&, bool&, bool&) { throw vb::VBError(5, "Invalid procedure call or argument"); });
    EXCEPINFO info{};
    CHECK(source->click(control.Get(), handled, cancelDefault, &info) == DISP_E_EXCEPTION);
    CHECK(static_cast<uint32_t>(info.scode) == 0x800A0005u);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    CHECK(wintest::raised([&] { vbe->Events()->CommandBarEvents(nullptr); }).number() == 5);
}

void sinksAreCountedAndLetGo() {
    auto source = com::make<FakeSource>();
    auto events = com::make<FakeEvents>(source.Get());
    auto control = com::make<FakeControl>();
    auto vbe = vbide::win::adaptVBE(held(com::make<FakeVBE>(events.Get()).Get()));
    auto clicks = vbe->Events()->CommandBarEvents(vbide::win::adaptCommandBarControl(held(control.Get())));
    // The subscription's reference and the source's.
    CHECK(source->refsWhenAdvised == 2);
    clicks.reset();
    CHECK(source->unadvised == 1);
    CHECK(source->refsLeftAtUnadvise == 1);
    VARIANT_BOOL handled = VARIANT_FALSE, cancelDefault = VARIANT_FALSE;
    CHECK(source->click(control.Get(), handled, cancelDefault, nullptr) == S_FALSE);

    // A source that keeps calling a sink it was told to drop reaches no handler.
    auto stubborn = com::make<FakeSource>();
    stubborn->keepSinkAfterUnadvise = true;
    auto events2 = com::make<FakeEvents>(stubborn.Get());
    auto vbe2 = vbide::win::adaptVBE(held(com::make<FakeVBE>(events2.Get()).Get()));
    bool reached = false;
    auto clicks2 = vbe2->Events()->CommandBarEvents(vbide::win::adaptCommandBarControl(held(control.Get())));
    clicks2->onClick([&](vb::Object&, bool&, bool&) { reached = true; });
    clicks2.reset();
    CHECK(stubborn->click(control.Get(), handled, cancelDefault, nullptr) == S_OK);
    CHECK(!reached);
}

void fileEventsFrom(const IID& served);

// A source that serves _dispVBFileControlEvents is found by that IID; one that serves another IID is
// reached through its only connection point.
void fileEventsReachTheirHandlers() {
    const IID vbFileControlEvents = {0x0002E141, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    CHECK(vbide::win::DIID_FileControlEvents == vbFileControlEvents);
    CHECK(vbide::win::dispidAfterCloseFile == 3 && vbide::win::dispidAfterRemoveFile == 5);
    fileEventsFrom(vbFileControlEvents);
    fileEventsFrom({0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}});
}

// A source that is missing, has no connection point or refuses the sink leaves file and project
// events that never fire, and nothing held.
void refusedSubscriptionsAreSkipped() {
    auto refusing = com::make<FakeSource>(vbide::win::DIID_FileControlEvents);
    auto taken = com::make<OtherSink>();
    DWORD cookie = 0;
    CHECK(refusing->Advise(taken.Get(), &cookie) == S_OK);  // a second Advise is refused
    auto plain = com::make<FakeAddIn>();
    bool skipped = true;
    for (IDispatch* source : {static_cast<IDispatch*>(nullptr), static_cast<IDispatch*>(plain.Get()),
                              static_cast<IDispatch*>(refusing.Get())}) {
        skipped = skipped && vbide::win::subscribeFileControlEvents(held(source)) != nullptr &&
                  vbide::win::subscribeVBProjectsEvents(held(source)) != nullptr;
    }
    CHECK(skipped);
    CHECK(refusing->unadvised == 0);
    CHECK(refusing->Unadvise(cookie) == S_OK);
    // An IDE whose Events has no file or project events at all.
    auto events = com::make<FakeEvents>(nullptr);
    auto vbe = vbide::win::adaptVBE(held(com::make<FakeVBE>(events.Get()).Get()));
    CHECK(vbe->Events()->FileControlEvents(nullptr) != nullptr);
    CHECK(vbe->Events()->VBProjectsEvents() != nullptr);
    CHECK(vbide::adaptDispatch(nullptr) == nullptr);
}

void fileEventsFrom(const IID& served) {
    auto source = com::make<FakeSource>(served);
    auto project = com::make<FakeAddIn>();  // any served object stands for the project
    auto adapted = vbide::win::adaptVBProject(held(project.Get()));
    auto events = vbide::win::subscribeFileControlEvents(held(source.Get()));
    std::shared_ptr<vbide::VBProject> closedIn;
    int32_t closedType = 0;
    std::string closedName;
    bool closedDirty = false;
    events->onAfterCloseFile([&](auto p, int32_t type, const std::string& name, bool dirty) {
        closedIn = p;
        closedType = type;
        closedName = name;
        closedDirty = dirty;
    });
    int removed = 0;
    events->onAfterRemoveFile([&](auto, int32_t, const std::string&) { ++removed; });
    VARIANT type, dirty;
    type.vt = VT_I4;
    type.lVal = 5;
    dirty.vt = VT_BOOL;
    dirty.boolVal = VARIANT_TRUE;
    VARIANT name;
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(L"C:\\Projekte\\M\u00FCller.frm");
    CHECK(source->fire(vbide::win::dispidAfterCloseFile,
                       {com::objectVariant(project.Get()), type, name, dirty}) == S_OK);
    SysFreeString(name.bstrVal);
    CHECK(closedIn == adapted);
    CHECK(closedType == 5);
    CHECK(closedName == "C:\\Projekte\\M\xC3\xBCller.frm");
    CHECK(closedDirty);
    CHECK(removed == 0);
    // Events the add-in does not handle pass by; one short of its arguments is refused.
    CHECK(source->fire(99, {}) == S_OK);
    EXCEPINFO info{};
    CHECK(source->fire(vbide::win::dispidAfterRemoveFile, {com::objectVariant(project.Get())}, &info) ==
          DISP_E_EXCEPTION);
    CHECK(static_cast<uint32_t>(info.scode) == 0x800A0000u + 450);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    CHECK(removed == 0);
    events.reset();
    CHECK(source->unadvised == 1);
}

} // namespace

int main() {
    CoInitialize(nullptr);
    // Each case must leave no served object alive (an adapter that leaks a reference keeps one) and
    // no adapter in the table of identities.
    auto leaves = [](void (*body)()) {
        return [body] {
            body();
            CHECK(com::liveObjects() == 0);
            CHECK(com::liveAdapterCount() == 0);
        };
    };
    int result = wintest::run({
        {"property puts carry text through BSTRs", leaves(propertyPutsCarryText)},
        {"failed calls raise what VB raises", leaves(failedCallsRaiseWhatVBRaises)},
        {"button faces travel over the system clipboard", leaves(facesTravelOverTheClipboard)},
        {"optional arguments not given stay out; one object is one port object",
         leaves(optionalArgumentsStayOut)},
        {"clicks reach the handler with the add-in's control and answer back", leaves(clicksReachTheHandlerAndAnswerBack)},
        {"event sinks are counted exactly and let go", leaves(sinksAreCountedAndLetGo)},
        {"file events reach their handlers by their IID or through a source's only connection point",
         leaves(fileEventsReachTheirHandlers)},
        {"a file or project events source that is missing or refuses is skipped", leaves(refusedSubscriptionsAreSkipped)},
    });
    CoUninitialize();
    return result;
}
