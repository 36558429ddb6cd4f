// The string table of QOR: document strings of the templates, pane captions, status-bar prompts
// ("prompt\nshort name") of the commands.
#include "platform/gui/Afx.h"
#include "res/Resource.h"

namespace {

const qor::StringResource kStrings[] = {
    {IDP_OLE_INIT_FAILED, L"OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    {IDS_ANALYSIS_RESULTS, L"Analysis Results"},
    {IDS_BRIDGES, L"Bridges"},
    {IDS_BRIDGE_SETS, L"Bridge Sets"},
    {IDS_LOAD_MODELS, L"Load Models"},
    {IDS_LOAD_MODEL_ENSEMBLES, L"Load Model Ensembles"},
    {IDS_REF_COLLECTIONS, L"Reference Collections"},
    {IDS_SETTINGS_FILE, L"QOR.xml"},
    {IDR_MAINFRAME, L"Kestrain QOR"},
    {IDR_QORTYPE, L"\nQOR_config\nQOR Config\nQOR Files (*.qor)\n.qor\nQOR.Document\nQOR.Document"},
    {IDR_PLOTVIEW, L"\nQOR_config\n\nQOR Files (*.qor)\n.qor\nQOR.Document\nQOR.Document"},
    {IDR_GRIDVIEW, L"\nQOR_config\n\nQOR Files (*.qor)\n.qor\nQOR.Document\nQOR.Document"},
    {IDS_TOOLBAR_STANDARD, L"Standard"},
    {IDS_TOOLBAR_CUSTOMIZE, L"Customize..."},
    {IDS_WINDOWS_MANAGER, L"&Windows..."},
    {IDS_OUTPUT_WND, L"Diagnostics"},
    {IDS_SETTINGS_WND, L"Settings"},
    {IDS_TOOLBAR_INSERT, L"Insert"},
    {IDS_ELEMENT_VIEW, L"Analysis Elements"},
    {IDS_PDF_HELP, L"PDF Help"},
    {IDS_LOAD_MODEL_SHEET, L"Load Model Definition"},
    {IDS_EXPLORER, L"Explorer"},
    {IDS_EDIT_MENU, L"Edit"},
    {AFX_IDS_IDLEMESSAGE, L"Ready"},

    {ID_FILE_NEW, L"Create a new case\nNew"},
    {ID_FILE_OPEN, L"Open an existing case\nOpen"},
    {ID_FILE_CLOSE, L"Close the case\nClose"},
    {ID_FILE_SAVE, L"Save the case\nSave"},
    {ID_FILE_SAVE_AS, L"Save the case under a new name\nSave As"},
    {ID_FILE_PRINT, L"Print the active window\nPrint"},
    {ID_FILE_PRINT_PREVIEW, L"Show how the active window prints\nPrint Preview"},
    {ID_FILE_PRINT_SETUP, L"Change the printer and printing options\nPrint Setup"},
    {ID_FILE_SAVE_IMAGE, L"Save the active window as a bitmap\nSave Image"},
    {ID_FILE_SAVE_GRID, L"Save the active grid as a CSV file\nSave Grid"},
    {ID_FILE_PRINT_ALL, L"Print every window of the case\nPrint All"},
    {ID_APP_ABOUT, L"Program information and version\nAbout"},
    {ID_APP_EXIT, L"Quit QOR; asks to save the case\nExit"},
    {ID_EDIT_CUT, L"Cut the selection to the clipboard\nCut"},
    {ID_EDIT_COPY, L"Copy the selection to the clipboard\nCopy"},
    {ID_EDIT_PASTE, L"Insert the clipboard contents\nPaste"},
    {ID_EDIT_UNDO, L"Undo the last action\nUndo"},
    {ID_VIEW_TOOLBAR, L"Show or hide the toolbars\nToolbars"},
    {ID_VIEW_STATUS_BAR, L"Show or hide the status bar\nStatus Bar"},
    {ID_HELP_PDF, L"Show the user manual\nPDF Help"},
    {ID_TOOLS_OPTIONS, L"Show the program settings\nOptions"},
    {ID_CLOSE_ALL_TABS, L"Close all windows but not the file\nClose windows"},
    {ID_CLOSE_TAB, L"Close the active window\nClose Tab"},

    {ID_CONFIGURATION_CASE_DATA, L"Edit the case reference and notes\nCase Data"},
    {ID_CONFIGURATION_ADD_BRIDGE, L"Add a bridge to the case\nAdd Bridge"},
    {ID_CONFIGURATION_ADD_BRIDGE_SET, L"Add a bridge set to the case\nAdd Bridge Set"},
    {ID_CONFIGURATION_ADD_LOAD_MODEL, L"Add a load model to the case\nAdd Load Model"},
    {ID_CONFIGURATION_ADD_LME, L"Add a load model ensemble to the case\nAdd Load Model Ensemble"},
    {ID_CONFIGURATION_ADD_REF_COLLECTION, L"Add a reference collection to the case\nAdd Reference Collection"},
    {ID_ANALYSIS_CRITICAL_RATIOS, L"Analyze for critical ratios\nAnalyze Critical Ratios"},
    {ID_ANALYSIS_REF_COLLECTION, L"Analyze a reference collection\nAnalyze Ref. Coll."},
    {ID_VIEW_ENHANCED_RATIOS_GRID, L"View enhanced output grid\nEnhanced Grid"},
    {ID_VIEW_OUTPUT_OPTIONS, L"View ouput display options\nOutput Options"},

    {ID_INSERT_BRIDGES_ALL, L"Insert all 50 m bridges\nAll 50 m Bridges"},
    {ID_INSERT_A26_ALL, L"Insert all load models from A26\nAll A26"},
    {ID_INSERT_A36_ALL, L"Insert all load models from A36\nAll A36"},
    {ID_INSERT_NAASRA1970_ALL, L"Insert all load models from NAASRA 1970\nAll NAASRA 1970"},
    {ID_INSERT_NAASRA1976_ALL, L"Insert all standard load models from NAASRA 1976\nAll NAASRA 1976"},
    {ID_INSERT_ABDC1992_ALL, L"Insert all standard load models from ABDC 1992\nAll ABDC 1992"},
    {ID_INSERT_ABAG_ALL, L"Insert all load models from ABAG\nAll ABAG"},
    {ID_INSERT_AS5100_ALL, L"Insert all standard load models from AS5100\nAll AS5100"},

    {ID_INDICATOR_CAPS, L"CAP"},
    {ID_INDICATOR_NUM, L"NUM"},
    {ID_INDICATOR_SCRL, L"SCRL"},
};
QOR_STRING_TABLE(kStrings);

} // namespace
