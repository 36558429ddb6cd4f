// Program-wide user preferences and their XML file "QOR.xml".
#include "engine/settings/Settings.h"

#include "engine/ArchiveInstantiation.h"
#include "engine/archive/XmlInArchive.h"
#include "platform/core/FileChecks.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/core/Paths.h"
#include "platform/core/ReplacingFile.h"
#include "platform/core/StringSerialization.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/serialization/nvp.hpp>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

CSettings* g_pSettings = CSettings::GetInstance();

// ---- archive items ------------------------------------------------------------------------

template <class Archive>
void CSettings::General_Config::General_LoadModel::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_BGRND);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_BASELINE);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_GRIDLINE);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_TEXT);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_PL);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_UDL);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_PUDL);
    ar& BOOST_SERIALIZATION_NVP(CLR_LM_WHEEL);
}

template <class Archive>
void CSettings::General_Config::General_DecimalPlaces::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(FACTOR);
    ar& BOOST_SERIALIZATION_NVP(DISTANCE);
    ar& BOOST_SERIALIZATION_NVP(SPAN);
    ar& BOOST_SERIALIZATION_NVP(GVW);
    ar& BOOST_SERIALIZATION_NVP(VEHLENGTH);
}

template <class Archive>
void CSettings::General_Config::General_Output::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(BMSF);
    ar& BOOST_SERIALIZATION_NVP(R);
    ar& BOOST_SERIALIZATION_NVP(GRAPHS);
    ar& BOOST_SERIALIZATION_NVP(TABLES);
}

template <class Archive>
void CSettings::General_Config::General_Stepping::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(BYSTEP);
    ar& BOOST_SERIALIZATION_NVP(STEPSIZE);
    ar& BOOST_SERIALIZATION_NVP(NSTEPS);
}

template <class Archive>
void CSettings::General_Config::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(HELPFILEPATH);
    ar& BOOST_SERIALIZATION_NVP(USEBINARYFILEFORMAT);
    ar& BOOST_SERIALIZATION_NVP(LoadModel);
    ar& BOOST_SERIALIZATION_NVP(DecimalPlaces);
    ar& BOOST_SERIALIZATION_NVP(Output);
    ar& BOOST_SERIALIZATION_NVP(Stepping);
}

template <class Archive>
void CSettings::Analysis_Config::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(NPOINTS_ALONG_BEAM);
    ar& BOOST_SERIALIZATION_NVP(NO_AXLE_SPACINGS);
}

template <class Archive>
void CSettings::Plot_Config::Plot_Gap::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(TOP);
    ar& BOOST_SERIALIZATION_NVP(BTM);
    ar& BOOST_SERIALIZATION_NVP(LEFT);
    ar& BOOST_SERIALIZATION_NVP(RIGHT);
    ar& BOOST_SERIALIZATION_NVP(BETWN);
}

template <class Archive>
void CSettings::Plot_Config::Plot_Colours::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(CLR_BACKGRND);
    ar& BOOST_SERIALIZATION_NVP(CLR_BORDER);
    ar& BOOST_SERIALIZATION_NVP(CLR_GRID);
    ar& BOOST_SERIALIZATION_NVP(CLR_TEXT);
    ar& BOOST_SERIALIZATION_NVP(CLR_LINEMIN);
    ar& BOOST_SERIALIZATION_NVP(CLR_LINEMAX);
    ar& BOOST_SERIALIZATION_NVP(CLR_BEAM);
    ar& BOOST_SERIALIZATION_NVP(CLR_LIGHTLINE);
    ar& BOOST_SERIALIZATION_NVP(CLR_PROPMIN);
    ar& BOOST_SERIALIZATION_NVP(CLR_PROPMAX);
    ar& BOOST_SERIALIZATION_NVP(CLR_FULLSPEED);
    ar& BOOST_SERIALIZATION_NVP(CLR_SLOWDOWN);
}

template <class Archive>
void CSettings::Plot_Config::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& BOOST_SERIALIZATION_NVP(RATIOLIMIT_FULLSPEED);
    ar& BOOST_SERIALIZATION_NVP(RATIOLIMIT_SLOWDOWN);
    ar& BOOST_SERIALIZATION_NVP(LINEWIDTH);
    ar& BOOST_SERIALIZATION_NVP(DATATIPDELAY);
    ar& BOOST_SERIALIZATION_NVP(Gap);
    ar& BOOST_SERIALIZATION_NVP(Colours);
}

QOR_INSTANTIATE_SERIALIZE(CSettings::General_Config::General_LoadModel)
QOR_INSTANTIATE_SERIALIZE(CSettings::General_Config::General_DecimalPlaces)
QOR_INSTANTIATE_SERIALIZE(CSettings::General_Config::General_Output)
QOR_INSTANTIATE_SERIALIZE(CSettings::General_Config::General_Stepping)
QOR_INSTANTIATE_SERIALIZE(CSettings::General_Config)
QOR_INSTANTIATE_SERIALIZE(CSettings::Analysis_Config)
QOR_INSTANTIATE_SERIALIZE(CSettings::Plot_Config::Plot_Gap)
QOR_INSTANTIATE_SERIALIZE(CSettings::Plot_Config::Plot_Colours)
QOR_INSTANTIATE_SERIALIZE(CSettings::Plot_Config)

#undef QOR_SETTINGS_INSTANTIATE

// ---- the object ---------------------------------------------------------------------------

CSettings* CSettings::GetInstance()
{
    static CSettings settings;
    return &settings;
}

CSettings::CSettings() { SetDefaults(); }

CSettings::~CSettings() = default;

void CSettings::SetDefaults()
{
    General.HELPFILEPATH = GetAppDataFolder() + L"QOR/QOR User Manual.pdf";
    General.USEBINARYFILEFORMAT = true;
    General.LoadModel = General_Config::General_LoadModel();
    General.DecimalPlaces = General_Config::General_DecimalPlaces();
    General.Output = General_Config::General_Output();
    General.Stepping = General_Config::General_Stepping();
    Analysis = Analysis_Config();
    Plot = Plot_Config();
}

std::vector<std::string> CSettings::ReplaceInvalidByDefaults()
{
    // The rules the settings pane applies to what the user types, within the 16-bit range the
    // pane holds, so that a hand-edited or damaged file cannot set up an endless, huge or
    // degenerate analysis. A value outside its rule takes its default; the others are kept. Each
    // value replaced is told as "<its items in the file>: <value>".
    std::vector<std::string> replaced;
    auto within = [&replaced](const char* name, int& value, int lowest, int highest, int fallback) {
        if (value >= lowest && value <= highest) return;
        replaced.push_back(std::string(name) + ": " + std::to_string(value));
        value = fallback;
    };
    auto colour = [&replaced](const char* name, COLORREF& value, COLORREF fallback) {
        if (value <= 0xFFFFFF) return;
        replaced.push_back(std::string(name) + ": " + std::to_string(value));
        value = fallback;
    };

    const General_Config::General_LoadModel lm;
    colour("General/LoadModel/CLR_LM_BGRND", General.LoadModel.CLR_LM_BGRND, lm.CLR_LM_BGRND);
    colour("General/LoadModel/CLR_LM_BASELINE", General.LoadModel.CLR_LM_BASELINE, lm.CLR_LM_BASELINE);
    colour("General/LoadModel/CLR_LM_GRIDLINE", General.LoadModel.CLR_LM_GRIDLINE, lm.CLR_LM_GRIDLINE);
    colour("General/LoadModel/CLR_LM_TEXT", General.LoadModel.CLR_LM_TEXT, lm.CLR_LM_TEXT);
    colour("General/LoadModel/CLR_LM_PL", General.LoadModel.CLR_LM_PL, lm.CLR_LM_PL);
    colour("General/LoadModel/CLR_LM_UDL", General.LoadModel.CLR_LM_UDL, lm.CLR_LM_UDL);
    colour("General/LoadModel/CLR_LM_PUDL", General.LoadModel.CLR_LM_PUDL, lm.CLR_LM_PUDL);
    colour("General/LoadModel/CLR_LM_WHEEL", General.LoadModel.CLR_LM_WHEEL, lm.CLR_LM_WHEEL);

    const General_Config::General_DecimalPlaces dp;
    within("General/DecimalPlaces/FACTOR", General.DecimalPlaces.FACTOR, 1, kMaxDecimals, dp.FACTOR);
    within("General/DecimalPlaces/DISTANCE", General.DecimalPlaces.DISTANCE, 1, kMaxDecimals, dp.DISTANCE);
    within("General/DecimalPlaces/SPAN", General.DecimalPlaces.SPAN, 1, kMaxDecimals, dp.SPAN);
    within("General/DecimalPlaces/GVW", General.DecimalPlaces.GVW, 1, kMaxDecimals, dp.GVW);
    within("General/DecimalPlaces/VEHLENGTH", General.DecimalPlaces.VEHLENGTH, 1, kMaxDecimals, dp.VEHLENGTH);

    const General_Config::General_Stepping st;
    const double step = General.Stepping.STEPSIZE;
    if (!(std::isfinite(step) && step > kMinStepSize && step <= kMaxStepSize))
    {
        char value[32] = {};
        std::to_chars(value, value + sizeof value - 1, step); // the shortest form that reads back the same
        replaced.push_back(std::string("General/Stepping/STEPSIZE: ") + value);
        General.Stepping.STEPSIZE = st.STEPSIZE;
    }
    within("General/Stepping/NSTEPS", General.Stepping.NSTEPS, 1, kMax16, st.NSTEPS);

    const Analysis_Config an;
    within("Analysis/NPOINTS_ALONG_BEAM", Analysis.NPOINTS_ALONG_BEAM, kMinPointsPerSpan, kMaxPointsPerSpan,
           an.NPOINTS_ALONG_BEAM);
    within("Analysis/NO_AXLE_SPACINGS", Analysis.NO_AXLE_SPACINGS, kMinAxleSpacings, kMax16, an.NO_AXLE_SPACINGS);

    const Plot_Config pl;
    within("Plot/LINEWIDTH", Plot.LINEWIDTH, 1, kMax16, pl.LINEWIDTH);
    within("Plot/DATATIPDELAY", Plot.DATATIPDELAY, kMinDataTipDelay, kMax16, pl.DATATIPDELAY);
    within("Plot/Gap/TOP", Plot.Gap.TOP, kMinGap, kMax16, pl.Gap.TOP);
    within("Plot/Gap/BTM", Plot.Gap.BTM, kMinGap, kMax16, pl.Gap.BTM);
    within("Plot/Gap/LEFT", Plot.Gap.LEFT, kMinGap, kMax16, pl.Gap.LEFT);
    within("Plot/Gap/RIGHT", Plot.Gap.RIGHT, kMinGap, kMax16, pl.Gap.RIGHT);
    within("Plot/Gap/BETWN", Plot.Gap.BETWN, kMinGap, kMax16, pl.Gap.BETWN);

    const Plot_Config::Plot_Colours pc;
    colour("Plot/Colours/CLR_BACKGRND", Plot.Colours.CLR_BACKGRND, pc.CLR_BACKGRND);
    colour("Plot/Colours/CLR_BORDER", Plot.Colours.CLR_BORDER, pc.CLR_BORDER);
    colour("Plot/Colours/CLR_GRID", Plot.Colours.CLR_GRID, pc.CLR_GRID);
    colour("Plot/Colours/CLR_TEXT", Plot.Colours.CLR_TEXT, pc.CLR_TEXT);
    colour("Plot/Colours/CLR_LINEMIN", Plot.Colours.CLR_LINEMIN, pc.CLR_LINEMIN);
    colour("Plot/Colours/CLR_LINEMAX", Plot.Colours.CLR_LINEMAX, pc.CLR_LINEMAX);
    colour("Plot/Colours/CLR_BEAM", Plot.Colours.CLR_BEAM, pc.CLR_BEAM);
    colour("Plot/Colours/CLR_LIGHTLINE", Plot.Colours.CLR_LIGHTLINE, pc.CLR_LIGHTLINE);
    colour("Plot/Colours/CLR_PROPMIN", Plot.Colours.CLR_PROPMIN, pc.CLR_PROPMIN);
    colour("Plot/Colours/CLR_PROPMAX", Plot.Colours.CLR_PROPMAX, pc.CLR_PROPMAX);
    colour("Plot/Colours/CLR_FULLSPEED", Plot.Colours.CLR_FULLSPEED, pc.CLR_FULLSPEED);
    colour("Plot/Colours/CLR_SLOWDOWN", Plot.Colours.CLR_SLOWDOWN, pc.CLR_SLOWDOWN);
    return replaced;
}

namespace {

void ShowSettingsError(const CString& text)
{
    MessageBoxW(qor::GetMainWindowHandle(), text, qor::kMessageBoxCaption, MB_ICONERROR);
}

CString ExceptionReport(const char* what)
{
    const std::string reason = what ? what : "";
    CString text;
    text += L"Boost reports: ";
    text += CString::FromUtf8(reason);
    text += L"\n";
    text += L"Possibly: ";
    text += CString::FromUtf8(ArchiveExceptionHint(reason));
    text += L"\n";
    return text;
}

// The name of the copy of a settings file that did not load: "QOR.not-loaded.xml" beside "QOR.xml",
// then "QOR.not-loaded-2.xml" and on when an earlier copy holds other content (a copy is never
// written over). The content is written whole or not at all; the copy's path, or empty when none
// could be made (error says why).
CString KeepNotLoaded(const CString& path, const std::string& content, int& error)
{
    error = EEXIST;
    const std::filesystem::path file(path.ToUtf8());
    const std::string stem = file.stem().string(), extension = file.extension().string();
    for (int n = 1; n <= 100; ++n)
    {
        std::string name = stem + ".not-loaded";
        if (n > 1)
        {
            name += '-';
            name += std::to_string(n);
        }
        name += extension;
        const std::filesystem::path copy = file.parent_path() / name;
        const CString copyPath = CString::FromUtf8(copy.string());
        std::error_code ec;
        if (std::filesystem::exists(copy, ec) || ec)
        {
            if (qor::FileHolds(copyPath, content)) return copyPath;
            continue;
        }
        if (qor::CReplacingFile::ReplaceWith(copyPath, content)) return copyPath;
        error = errno;
        return CString();
    }
    return CString();
}

// A settings file is a few kilobytes: past this it is not one (and is not read into memory).
constexpr std::size_t kLargestSettingsFile = std::size_t{16} << 20;

} // namespace

bool CSettings::Load(const CString& path)
{
    m_sUnkeptPath.Empty();
    // Only a regular file (or a link to one) of a settings file's size is read: a device would be read
    // until memory runs out, a pipe would wait for a writer. Such a file is left as it is, also at exit.
    CString refused;
    std::string text;
    const bool whole = qor::ReadRegularFile(path, text, kLargestSettingsFile, refused);
    if (text.size() > kLargestSettingsFile) refused = L"it is too large to be a settings file";
    if (!refused.IsEmpty())
    {
        ShowSettingsError(L"Problem loading Program Settings file.\n" + qor::ShownPath(path) + L": " + refused +
                          L".\nUsing default values instead; the file is left as it is.\n");
        SetDefaults();
        m_sUnkeptPath = path;
        return false;
    }
    bool read = false;
    try
    {
        if (!whole) throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
        read = true;
        CXmlInArchive ia(text);

        int version = 0; // read and not used: every version holds the same items
        General_Config general;
        Analysis_Config analysis;
        Plot_Config plot;
        ia >> boost::serialization::make_nvp("m_Version", version);
        ia >> boost::serialization::make_nvp("General", general);
        ia >> boost::serialization::make_nvp("Analysis", analysis);
        ia >> boost::serialization::make_nvp("Plot", plot);
        ia.Finish();

        General = std::move(general);
        Analysis = analysis;
        Plot = plot;
        const std::vector<std::string> replaced = ReplaceInvalidByDefaults();
        if (!replaced.empty())
        {
            CString message = L"Problem loading Program Settings file.\n";
            for (const std::string& value : replaced)
                message += CString::FromUtf8(value) + L" is not allowed; using its default value instead.\n";
            ShowSettingsError(message);
        }
        return true;
    }
    catch (const std::exception& e)
    {
        CString message = L"Problem loading Program Settings file.\n";
        message += ExceptionReport(e.what());
        message += L"Using default values instead.";
        message += L"\n";
        // The user's own values are kept beside the file before the defaults are written over it at exit.
        if (read)
        {
            int error = 0;
            const CString copy = KeepNotLoaded(path, text, error);
            if (!copy.IsEmpty())
                message += L"The file that did not load is kept as " + copy + L".\n";
            else
            {
                message += L"The file that did not load could not be kept beside it (" +
                           CString::FromUtf8(std::strerror(error)) + L"); it is left as it is.\n";
                m_sUnkeptPath = path;
            }
        }
        ShowSettingsError(message);
        SetDefaults();
        return false;
    }
}

bool CSettings::Save(const CString& path) const
{
    // Written whole to a temporary file beside the settings file, which replaces it only once all of
    // it is on the disk; what killed saves left in its folder goes at the next save.
    int error = 0;
    CString refused;
    // A file that did not load and could not be kept is not written over: it holds the user's values.
    if (!path.IsEmpty() && path == m_sUnkeptPath) return false;
    try
    {
        if (path.IsEmpty())
            throw boost::archive::archive_exception(boost::archive::archive_exception::output_stream_error);
        // A device or pipe in the file's place (or a link to one) is not replaced by a file (a folder
        // refuses the replacing by itself).
        std::error_code unseen;
        if (!std::filesystem::is_directory(std::filesystem::path(path.ToUtf8()), unseen))
            refused = qor::NotARegularFile(path);
        if (!refused.IsEmpty())
            throw boost::archive::archive_exception(boost::archive::archive_exception::output_stream_error);
        const CString folder = qor::FolderOf(path);
        if (!folder.IsEmpty()) qor::CreateFolders(folder);
        qor::CReplacingFile::RemoveLeftoversIn(folder.IsEmpty() ? CString(L".") : folder);

        std::ostringstream xml;
        {
            boost::archive::xml_oarchive oa(xml);
            oa << boost::serialization::make_nvp("m_Version", m_Version);
            oa << boost::serialization::make_nvp("General", General);
            oa << boost::serialization::make_nvp("Analysis", Analysis);
            oa << boost::serialization::make_nvp("Plot", Plot);
        } // the archive writes its closing tag here
        const std::string text = xml.str();
        // Settings the file already holds are not written again: an exit with nothing changed waits for no disk.
        if (qor::FileHolds(path, text)) return true;
        if (!qor::CReplacingFile::ReplaceWith(path, text))
        {
            error = errno;
            throw boost::archive::archive_exception(boost::archive::archive_exception::output_stream_error);
        }
        return true;
    }
    catch (const std::exception& e)
    {
        // The first line says what did not happen; then the file and the system's reason, then the
        // archive library's report.
        CString text = L"Problem saving file.\n";
        if (!path.IsEmpty())
            text += qor::ShownPath(path) + L": " +
                    (!refused.IsEmpty() ? refused
                     : error            ? CString::FromUtf8(std::strerror(error))
                                        : CString(L"the settings could not be written")) +
                    L"\n";
        text += ExceptionReport(e.what());
        ShowSettingsError(text);
        return false;
    }
}

// ---- the application-data folder ----------------------------------------------------------

CString GetAppDataFolder()
{
    CString folder = qor::GetAppDataFolder();
    folder.TrimRight(L'/');
    if (folder.IsEmpty() || !qor::CreateFolders(folder)) return CString();
    return folder + L"/";
}

CString GetProgramManualPath()
{
    const CString folder = GetAppDataFolder();
    return folder.IsEmpty() ? CString() : folder + L"QOR/QOR User Manual.pdf";
}

// ---- archive error hints ------------------------------------------------------------------

std::string ArchiveExceptionHint(const std::string& what)
{
    struct Row
    {
        const char* what;
        const char* hint;
    };
    static const Row rows[] = {
        {"coding error", "Boost.Serialization library problem"},
        {"unrecognized XML syntax", "name-value-pair name contains illegal chars including whitespace?"},
        {"unregistered class", "missing BOOST_CLASS_EXPORT(SubClass) macro?"},
        {"unregistered void cast", "missing ar & BOOST_SERIALIZATION_BASE_OBJECT_NVP(BaseClass) statement?"},
        {"stream error", "asymmetric serialization, including attempt to load empty archive?"},
        {"unsupported version", "file written by a newer version of the archive library than this program's?"},
    };
    for (const Row& row : rows)
        if (what == row.what) return std::string("(") + row.hint + ")";
    return "(no local interpretation)";
}
