// The COM plumbing every VST3 object repeats: queryInterface over the interfaces a class
// derives from, and a reference count several host threads may touch.
#pragma once

#include <atomic>
#include <tuple>
#include <type_traits>

#include "vst3/Vst3Base.h"

namespace Vst3 {

// Interfaces: the class's interfaces, each reachable from Derived by one implicit conversion;
// FUnknown is answered through the first. Derived must be final or have a virtual destructor.
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    tresult VST3_API queryInterface(const TUID interfaceId, void** obj) override {
        if (obj == nullptr) return kInvalidArgument;
        *obj = nullptr;
        if (interfaceId == nullptr) return kNoInterface;
        if (uidEquals(interfaceId, FUnknown::iid)) {
            *obj = static_cast<FUnknown*>(
                static_cast<std::tuple_element_t<0, std::tuple<Interfaces...>>*>(this));
        } else {
            (void)((uidEquals(interfaceId, Interfaces::iid) &&
                    (*obj = static_cast<Interfaces*>(this), true)) ||
                   ...);
            if (*obj == nullptr) (void)(findBase<Interfaces>(interfaceId, obj) || ...);
        }
        if (*obj == nullptr) return kNoInterface;
        addRef();
        return kResultOk;
    }
    uint32 VST3_API addRef() override { return ++references; }
    uint32 VST3_API release() override {
        const uint32 left = DropReference();
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ComObject() = default;
    ~ComObject() = default;
    // For objects that outlive every reference (a module's one factory).
    uint32 DropReference() { return --references; }

private:
    // The base interfaces inside a chain (IPluginBase under IComponent, IPluginFactory under
    // IPluginFactory3) are answered through the chain.
    template <typename Interface>
    bool findBase(const TUID interfaceId, void** obj) {
        return tryBase<IPluginBase, Interface>(interfaceId, obj) ||
               tryBase<IPluginFactory, Interface>(interfaceId, obj) ||
               tryBase<IPluginFactory2, Interface>(interfaceId, obj);
    }
    template <typename Base, typename Interface>
    bool tryBase(const TUID interfaceId, void** obj) {
        if constexpr (std::is_base_of_v<Base, Interface> && !std::is_same_v<Base, Interface>) {
            if (uidEquals(interfaceId, Base::iid)) {
                *obj = static_cast<Base*>(static_cast<Interface*>(this));
                return true;
            }
        }
        return false;
    }

    std::atomic<uint32> references{1};
};

}  // namespace Vst3
