#pragma once

#include "app/InterfaceClasses.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/InterfaceLoader.h"
#include "tests/support/CatalogAds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace testing_support {

// Kessa launched from its real interface description and resources, as the simulator launches
// it, in a fresh home with the ad server on loopback.
class KessaLaunch : public CatalogAds {
protected:
    void SetUp() override {
        CatalogAds::SetUp();
        beforeLaunch();
        foundation::Bundle::main().load(std::string(PROJECT_SOURCE_DIR) + "/app/Resources");
        kessa::registerInterfaceClasses();
        auto result = ui::InterfaceLoader::loadFile(
            *foundation::Bundle::main().pathForResource("MainWindow", "plist"));
        ASSERT_TRUE(result) << result.error().message;
        loaded = std::move(result.value());
        ui::Application::shared().setDelegate(
            std::dynamic_pointer_cast<ui::ApplicationDelegate>(loaded.objects["appDelegate"]));
        ui::Application::shared().finishLaunching();
    }

    // The application ends as the simulator ends it, so what lives until then is let go.
    void TearDown() override {
        ui::Application::shared().terminate();
        CatalogAds::TearDown();
    }

    // The moment to set the ad server up: the banner asks for its first ad during launch.
    virtual void beforeLaunch() {}

    template <typename T>
    std::shared_ptr<T> object(const std::string& name) {
        return std::dynamic_pointer_cast<T>(loaded.objects[name]);
    }

    ui::InterfaceLoader::Loaded loaded;
};

} // namespace testing_support
