// Resources of the settings pane: its toolbar and the texts of its commands.
#include "res/SettingsPane.h"

#include "platform/gui/Afx.h"

namespace {

const UINT kButtons[] = {ID_EXPAND_ALL_PROPERTIES, ID_SORT_PROPERTIES, ID_RESET_ALL_SETTINGS};
QOR_TOOLBAR_RESOURCE(IDR_SETTINGS_TOOLBAR, kButtons);

const qor::StringResource kStrings[] = {
    {ID_EXPAND_ALL_PROPERTIES, L"Toggle expand or collapse all properties\nExpand/Collapse"},
    {ID_SORT_PROPERTIES, L"Arrange in alphabetical order instead\nSort Alphabetically"},
    {ID_RESET_ALL_SETTINGS, L"Reset all settings to defaults values\nReset All"},
};
QOR_STRING_TABLE(kStrings);

} // namespace
