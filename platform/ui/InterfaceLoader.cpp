#include "platform/ui/InterfaceLoader.h"

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Value.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Control.h"
#include "platform/ui/View.h"

namespace ui {

namespace {
foundation::Error loadError(const std::string& message) {
    return foundation::Error{"InterfaceLoaderErrorDomain", -1, message};
}
} // namespace

foundation::Result<InterfaceLoader::Loaded> InterfaceLoader::loadFile(const std::string& path) {
    auto bytes = foundation::FileManager::contentsAtPath(path);
    if (!bytes)
        return loadError("cannot read interface description " + path);
    auto parsed = foundation::PropertyList::read(*bytes);
    if (!parsed)
        return loadError(path + ": " + parsed.error().message);
    return load(parsed.value());
}

foundation::Result<InterfaceLoader::Loaded>
InterfaceLoader::load(const foundation::Value& description) {
    auto created = create(description);
    if (!created)
        return created;
    Loaded& loaded = created.value();
    for (const auto& entry : description["objects"].asArray())
        if (auto connected = connect(loaded, entry); !connected)
            return connected.error();
    for (const auto& name : loaded.order)
        loaded.objects[name]->awakeFromNib();
    return created;
}

foundation::Result<InterfaceLoader::Loaded>
InterfaceLoader::create(const foundation::Value& description) {
    if (!description["objects"].isArray())
        return loadError("interface description has no \"objects\" array");
    Loaded loaded;
    loaded.delegateName = description["delegate"].stringValue();
    for (const auto& entry : description["objects"].asArray()) {
        const std::string name = entry["name"].stringValue();
        const std::string className = entry["class"].stringValue();
        if (name.empty() || loaded.objects.count(name))
            return loadError("object without a unique \"name\" (class " + className + ")");
        auto object = ClassRegistry::shared().create(className);
        if (!object)
            return loadError(name + ": unknown class \"" + className + "\"");
        object->setInterfaceName(name);
        object->configure(entry);
        loaded.objects[name] = object;
        loaded.order.push_back(name);
    }
    if (!loaded.delegateName.empty() && !loaded.objects.count(loaded.delegateName))
        return loadError("unknown delegate object \"" + loaded.delegateName + "\"");
    return loaded;
}

foundation::Status InterfaceLoader::connect(Loaded& loaded, const foundation::Value& entry) {
    const std::string name = entry["name"].stringValue();
    auto& object = loaded.objects[name];
    auto find = [&](const foundation::Value& name) -> std::shared_ptr<InterfaceObject> {
        auto it = loaded.objects.find(name.stringValue());
        return it == loaded.objects.end() ? nullptr : it->second;
    };
    for (const auto& child : entry["subviews"].asArray()) {
        auto parent = std::dynamic_pointer_cast<View>(object);
        auto view = std::dynamic_pointer_cast<View>(find(child));
        if (!parent || !view)
            return loadError(name + ": subview \"" + child.stringValue() +
                             "\" is not a view of a view");
        parent->addSubview(view);
    }
    for (const auto& [outlet, target] : entry["outlets"].asDictionary()) {
        auto other = find(target);
        if (!other || !object->setOutlet(outlet, other))
            return loadError(name + ": cannot connect outlet \"" + outlet + "\" to \"" +
                             target.stringValue() + "\"");
    }
    for (const auto& action : entry["actions"].asArray()) {
        auto control = std::dynamic_pointer_cast<Control>(object);
        auto target = find(action["target"]);
        const unsigned event = Control::eventNamed(action["event"].stringValue());
        auto fn = target ? target->action(action["action"].stringValue()) : nullptr;
        if (!control || !event || !fn)
            return loadError(name + ": cannot connect action \"" + action["action"].stringValue() +
                             "\" for event \"" + action["event"].stringValue() + "\"");
        control->addTarget(event, std::move(fn));
    }
    return foundation::success();
}

} // namespace ui
