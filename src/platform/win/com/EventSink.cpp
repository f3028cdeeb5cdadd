#include "platform/win/com/EventSink.h"

#include "platform/error.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/ComObject.h"
#include "platform/win/com/OleLog.h"
#include "platform/win/com/VariantConvert.h"

#include <atomic>
#include <memory>

namespace com {

namespace {
std::atomic<long> orphans{0};
} // namespace

long orphanedSinks() { return orphans.load(); }

// The sink: COM counts its references; the subscription holds one, the source one per Advise.
class EventSubscription::Sink final : public ComObject<IDispatch> {
public:
    Sink(const IID& events, EventHandler handler)
        : events_(events), handler_(std::make_shared<EventHandler>(std::move(handler))) {}
    ~Sink() override {
        if (detached_) --orphans;
    }

    // The subscription has ended: from now on only a source can hold the sink.
    void detach() {
        handler_.reset();
        if (!detached_) ++orphans;
        detached_ = true;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO* info, UINT*) override;

private:
    // The source asks for the events interface it calls.
    HRESULT queryMore(REFIID iid, void** out) override {
        if (iid != events_) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }

    IID events_;
    std::shared_ptr<EventHandler> handler_;
    bool detached_ = false;
};

HRESULT EventSubscription::Sink::Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                        EXCEPINFO* info, UINT*) {
    // The handler may end the subscription (and with it this sink's last other reference).
    AddRef();
    auto handler = handler_;
    HRESULT hr = guarded(
        [&] {
            DISPPARAMS none{};
            if (handler) (*handler)(event, params ? *params : none);
        },
        info);
    Release();
    return hr;
}

namespace {

[[noreturn]] void noEvents() {
    raiseFailedCall(E_NOINTERFACE, nullptr);
}

// The source's only connection point, for a source that does not know the IID asked for.
ComPtr<IConnectionPoint> onlyPoint(IConnectionPointContainer& container) {
    ComPtr<IEnumConnectionPoints> points;
    if (FAILED(container.EnumConnectionPoints(&points)) || !points) return nullptr;
    ComPtr<IConnectionPoint> first, second;
    ULONG fetched = 0;
    if (points->Next(1, &first, &fetched) != S_OK || fetched != 1) return nullptr;
    if (points->Next(1, &second, &fetched) == S_OK && fetched == 1) return nullptr;
    return first;
}

} // namespace

EventSubscription::EventSubscription(const Dispatch& source, const IID& events, EventHandler handler) {
    if (!source) throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable or With block variable not set");
    const OleLog log;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source.get()->QueryInterface(IID_PPV_ARGS(&container));
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(events, &point_);
    log.called(("FindConnectionPoint " + OleLog::nameOf(events)).c_str(), hr);
    IID iid = events;
    if (FAILED(hr) || !point_) {
        if (container) point_ = onlyPoint(*container.Get());
        if (!point_ || FAILED(point_->GetConnectionInterface(&iid))) noEvents();
    }
    sink_ = new Sink(iid, std::move(handler));
    hr = point_->Advise(sink_, &cookie_);
    log.called(("Advise on " + OleLog::nameOf(iid)).c_str(), hr);
    if (FAILED(hr)) {
        sink_->detach();
        sink_->Release();
        raiseFailedCall(hr, nullptr);
    }
}

EventSubscription::~EventSubscription() {
    point_->Unadvise(cookie_);
    sink_->detach();
    sink_->Release();
}

// ---- arguments --------------------------------------------------------------------------------

VARIANT& eventArg(DISPPARAMS& params, UINT index) {
    if (index >= params.cArgs || !params.rgvarg) {
        throw vb::VBError(450, "Wrong number of arguments or invalid property assignment");
    }
    VARIANT& arg = params.rgvarg[params.cArgs - 1 - index];
    if (V_VT(&arg) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&arg)) return *V_VARIANTREF(&arg);
    return arg;
}

namespace {

Result copyOf(DISPPARAMS& params, UINT index) {
    Result copy;
    VARIANT& arg = eventArg(params, index);
    if (FAILED(VariantCopyInd(copy.out(), &arg))) raiseFailedCall(DISP_E_TYPEMISMATCH, nullptr);
    return copy;
}

} // namespace

Dispatch objectArg(DISPPARAMS& params, UINT index) { return copyOf(params, index).toObject(); }
std::string stringArg(DISPPARAMS& params, UINT index) { return copyOf(params, index).toString(); }
int32_t longArg(DISPPARAMS& params, UINT index) { return copyOf(params, index).toLong(); }
bool boolArg(DISPPARAMS& params, UINT index) { return copyOf(params, index).toBool(); }

void setBoolArg(DISPPARAMS& params, UINT index, bool value) {
    eventArg(params, index);  // raises for a missing argument
    assignByRef(params.rgvarg[params.cArgs - 1 - index], vb::Variant(value));
}

} // namespace com
