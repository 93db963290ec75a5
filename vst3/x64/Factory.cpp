// The plug-in factory: two classes, the processor and its controller, under the IDs that
// replace the VST 2.x plug-in. One factory lives for the whole load of the module; hosts'
// references to it count but never free it.
#include <cstring>

#include "effect/x64/About.h"
#include "vst3/ComObject.h"
#include "vst3/x64/Plugin.h"
#include "vst3/x64/Text.h"

namespace QuellinCorvane::Vst3Plugin {
namespace {

using namespace Vst3;

constexpr const char* kVendor = "Quellin Sound Design";
constexpr const char* kName = "Quellin Corvane";
constexpr const char* kVersion = "1.0.0";

struct ClassRecord {
    const Uid* uid;
    const char* category;
    const char* subCategories;
    FUnknown* (*create)();
};

const ClassRecord kClasses[] = {
    {&kProcessorUid, kVstAudioEffectClass, PlugType::kFx, CreateProcessor},
    {&kControllerUid, kVstComponentControllerClass, "", CreateController},
};
constexpr int32 kClassCount = sizeof(kClasses) / sizeof(kClasses[0]);

bool validIndex(int32 index) {
    return index >= 0 && index < kClassCount;
}

class Factory final : public ComObject<Factory, IPluginFactory3> {
public:
    uint32 VST3_API release() override { return DropReference(); }

    tresult VST3_API getFactoryInfo(PFactoryInfo* info) override {
        if (info == nullptr) return kInvalidArgument;
        std::memset(info, 0, sizeof(*info));
        CopyText(info->vendor, PFactoryInfo::kNameSize, kVendor);
        CopyText(info->url, PFactoryInfo::kURLSize, kWebsite);
        info->flags = PFactoryInfo::kUnicode;
        return kResultOk;
    }
    int32 VST3_API countClasses() override { return kClassCount; }
    tresult VST3_API getClassInfo(int32 index, PClassInfo* info) override {
        if (info == nullptr || !validIndex(index)) return kInvalidArgument;
        std::memset(info, 0, sizeof(*info));
        std::memcpy(info->cid, kClasses[index].uid->bytes, sizeof(TUID));
        info->cardinality = PClassInfo::kManyInstances;
        CopyText(info->category, PClassInfo::kCategorySize, kClasses[index].category);
        CopyText(info->name, PClassInfo::kNameSize, kName);
        return kResultOk;
    }
    tresult VST3_API createInstance(FIDString cid, FIDString interfaceId, void** obj) override {
        if (obj == nullptr) return kInvalidArgument;
        *obj = nullptr;
        if (cid == nullptr || interfaceId == nullptr) return kInvalidArgument;
        for (const ClassRecord& record : kClasses) {
            if (!uidEquals(cid, *record.uid)) continue;
            FUnknown* object = record.create();
            const tresult result = object->queryInterface(interfaceId, obj);
            object->release();
            return result;
        }
        return kNoInterface;
    }
    tresult VST3_API getClassInfo2(int32 index, PClassInfo2* info) override {
        return FillClassInfo(index, info);
    }
    tresult VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) override {
        return FillClassInfo(index, info);
    }
    tresult VST3_API setHostContext(FUnknown*) override { return kResultOk; }

private:
    // The two records differ only in their texts' character type.
    template <typename Info>
    tresult FillClassInfo(int32 index, Info* info) {
        if (info == nullptr || !validIndex(index)) return kInvalidArgument;
        std::memset(info, 0, sizeof(*info));
        std::memcpy(info->cid, kClasses[index].uid->bytes, sizeof(TUID));
        info->cardinality = PClassInfo::kManyInstances;
        CopyText(info->category, PClassInfo::kCategorySize, kClasses[index].category);
        CopyText(info->name, PClassInfo::kNameSize, kName);
        CopyText(info->subCategories, Info::kSubCategoriesSize, kClasses[index].subCategories);
        CopyText(info->vendor, Info::kVendorSize, kVendor);
        CopyText(info->version, Info::kVersionSize, kVersion);
        CopyText(info->sdkVersion, Info::kVersionSize, kVstVersionString);
        return kResultOk;
    }
};

}  // namespace

IPluginFactory* TheFactory() {
    static Factory factory;
    factory.addRef();
    return &factory;
}

}  // namespace QuellinCorvane::Vst3Plugin
