#pragma once

namespace preferences {

class Domain;
class HBAppearanceSettings;
class HBListController;
class HBRootListController;
class PSListController;
class PSListItemsController;
class PSSegmentTableCell;
class PSSliderTableCell;
class PSSpecifier;
class PSSwitchTableCell;
class PSTableCell;
class PreferenceBundleLoader;
class Preferences;
class SettingsApp;
class SpecifierFile;

} // namespace preferences
