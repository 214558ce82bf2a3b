// The form runtime for the whole app test binary, with the recording
// browser behind every browser box (a test that needs the system browser
// sets the factory to null for its own duration and restores this one).
#include <gtest/gtest.h>

#include "form/form.h"
#include "recording_browser.h"

namespace {

class AppRuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        vostrel::form::SetWebBrowserFactory(&vostrel::test::RecordingBrowser::Factory);
        ASSERT_TRUE(vostrel::form::Initialize());
    }
    void TearDown() override { vostrel::form::Shutdown(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppRuntimeEnvironment);

}  // namespace
