#include "platform/vss/VSSItems.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vss/adapters.h"

namespace vss::win {

namespace {

class ComVSSItems final : public VSSItems, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<VSSItem> Item(int32_t index) override { return adaptVSSItem(object().get("Item", {index}).toObject()); }
    std::vector<std::shared_ptr<VSSItem>> items() override {
        std::vector<std::shared_ptr<VSSItem>> all;
        for (int32_t i = 1, count = Count(); i <= count; ++i) all.push_back(Item(i));
        return all;
    }
};

} // namespace

std::shared_ptr<VSSItems> adaptVSSItems(const com::Dispatch& object) {
    return com::adapt<ComVSSItems, VSSItems>(object);
}

} // namespace vss::win
