// BrixPrefs: the settings bundle of Brix, loaded by the Settings app. Its
// pages write the preference domain that Brix reads, ask the home screen
// for a test banner and restart the home screen.

#include "platform/device/PluginLoader.h"
#include "platform/device/Process.h"

#include "prefs/BRXAppearanceSettings.h"
#include "prefs/BRXRootListController.h"
#include "prefs/BRXSubPrefsListController.h"

// The Settings app calls this once when it loads the bundle.
DEVICE_PLUGIN_ENTRY void device_bundle_load(device::Process& process)
{
    if (process.runtime().classNamed("BRXRootListController"))
        return;
    brixprefs::BRXAppearanceSettings::registerClass(process);
    brixprefs::BRXRootListController::registerClass(process);
    brixprefs::BRXSubPrefsListController::registerClass(process);
}
