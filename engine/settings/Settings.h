// Program-wide user preferences and their XML file "QOR.xml".
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <string>
#include <vector>

class CSettings
{
public:
    // The limits of the values a file may hold (the settings pane's own rules, within its
    // 16-bit range); a value read outside its limits takes its default.
    static constexpr int kMaxDecimals = 9;         // none would leave the numeric fields without a decimal point
    static constexpr double kMinStepSize = 0.001;  // exclusive
    static constexpr double kMaxStepSize = 1000.0; // metres
    static constexpr int kMinPointsPerSpan = 21;
    // Beyond this the results of one moving load outgrow the memory of a desktop machine.
    static constexpr int kMaxPointsPerSpan = 1000;
    static constexpr int kMax16 = 32767; // the largest value of the pane's other whole numbers
    static constexpr int kMinAxleSpacings = 3;
    static constexpr int kMinDataTipDelay = 501;
    static constexpr int kMinGap = 1; // pixels

    struct General_Config
    {
        struct General_LoadModel
        {
            COLORREF CLR_LM_BGRND = 0xFFFFFF;
            COLORREF CLR_LM_BASELINE = 0x000000;
            COLORREF CLR_LM_GRIDLINE = 0xE0E0E0;
            COLORREF CLR_LM_TEXT = 0x000000;
            COLORREF CLR_LM_PL = 0x0000FF;
            COLORREF CLR_LM_UDL = 0x00FF00;
            COLORREF CLR_LM_PUDL = 0xFF0000;
            COLORREF CLR_LM_WHEEL = 0x000000;

            template <class Archive>
            void serialize(Archive& ar, const unsigned int version);
        };

        struct General_DecimalPlaces
        {
            int FACTOR = 3;
            int DISTANCE = 3;
            int SPAN = 2;
            int GVW = 2;
            int VEHLENGTH = 2;

            template <class Archive>
            void serialize(Archive& ar, const unsigned int version);
        };

        struct General_Output
        {
            bool BMSF = true;
            bool R = true;
            bool GRAPHS = true;
            bool TABLES = true;

            template <class Archive>
            void serialize(Archive& ar, const unsigned int version);
        };

        struct General_Stepping
        {
            bool BYSTEP = false;
            double STEPSIZE = 0.5;
            int NSTEPS = 20;

            template <class Archive>
            void serialize(Archive& ar, const unsigned int version);
        };

        CString HELPFILEPATH;
        bool USEBINARYFILEFORMAT = true;
        General_LoadModel LoadModel;
        General_DecimalPlaces DecimalPlaces;
        General_Output Output;
        General_Stepping Stepping;

        template <class Archive>
        void serialize(Archive& ar, const unsigned int version);
    };

    struct Analysis_Config
    {
        int NPOINTS_ALONG_BEAM = 100;
        int NO_AXLE_SPACINGS = 10;

        template <class Archive>
        void serialize(Archive& ar, const unsigned int version);
    };

    struct Plot_Config
    {
        struct Plot_Gap
        {
            int TOP = 10;
            int BTM = 10;
            int LEFT = 10;
            int RIGHT = 10;
            int BETWN = 5;

            template <class Archive>
            void serialize(Archive& ar, const unsigned int version);
        };

        struct Plot_Colours
        {
            COLORREF CLR_BACKGRND = 0xFFFFFF;
            COLORREF CLR_BORDER = 0xFFFFFF;
            COLORREF CLR_GRID = 0xA0A0A0;
            COLORREF CLR_TEXT = 0x000000;
            COLORREF CLR_LINEMIN = 0xFF0000;
            COLORREF CLR_LINEMAX = 0x0000FF;
            COLORREF CLR_BEAM = 0x000000;
            COLORREF CLR_LIGHTLINE = 0xA0A0A0;
            COLORREF CLR_PROPMIN = 0x99FF33;
            COLORREF CLR_PROPMAX = 0x99FF33;
            COLORREF CLR_FULLSPEED = 0x008CFF;
            COLORREF CLR_SLOWDOWN = 0x008CFF;

            template <class Archive>
            void serialize(Archive& ar, const unsigned int version);
        };

        bool RATIOLIMIT_FULLSPEED = true;
        bool RATIOLIMIT_SLOWDOWN = true;
        int LINEWIDTH = 2;
        int DATATIPDELAY = 3000;
        Plot_Gap Gap;
        Plot_Colours Colours;

        template <class Archive>
        void serialize(Archive& ar, const unsigned int version);
    };

    // The one settings object of the program, made with its defaults on the first call.
    static CSettings* GetInstance();

    virtual ~CSettings();

    // Writes every default value (m_Version is left alone).
    void SetDefaults();

    // Reads the XML settings file into this object. On failure shows a message, keeps a copy of
    // the file beside it (named in the message; a copy is never written over), restores the
    // defaults and returns false. A value read that the settings pane would refuse takes its
    // default, and a message names it.
    bool Load(const CString& path);

    // Writes this object to the XML settings file. On failure shows a message and
    // returns false; a previous file at the path is left untouched, as is a file that did not
    // load and could not be kept (false, without a message).
    bool Save(const CString& path) const;

    int m_Version = 1;
    General_Config General;
    Analysis_Config Analysis;
    Plot_Config Plot;

private:
    CSettings();
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Replaces every value read from a file that the settings pane would refuse by its default;
    // each one replaced, as "<its items in the file>: <value>".
    std::vector<std::string> ReplaceInvalidByDefaults();

    CString m_sUnkeptPath; // a file that did not load and could not be kept
};

// The settings object; set while the program starts, before any application code runs.
extern CSettings* g_pSettings;

// "(" + an explanation of an archive library error text + ")".
std::string ArchiveExceptionHint(const std::string& what);

// The user's application-data folder with a '/' appended (the folder itself is made
// when it is missing, as the shell does for its own folders); an empty string when it
// can be neither found nor made. The program's own "QOR/" subfolder is not made here.
// Needs no application object: the settings defaults use it while the program starts.
CString GetAppDataFolder();
// Where the program keeps its own copy of the user manual (the default help file path), in its folder of
// the application-data folder: the only place it writes a manual. Empty without that folder.
CString GetProgramManualPath();
