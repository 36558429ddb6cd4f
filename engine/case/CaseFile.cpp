// Reading and writing case files, and the check of a loaded case.

#include "engine/case/CaseFile.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/archive/ArchiveOutBuffer.h"
#include "engine/archive/BinaryInArchive.h"
#include "engine/archive/BinaryOutArchive.h"
#include "engine/archive/CaseFileProgress.h"
#include "engine/archive/XmlInArchive.h"
#include "engine/archive/XmlOutArchive.h"
#include "engine/model/Beam.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"

#include <boost/archive/xml_archive_exception.hpp>
#include <boost/serialization/nvp.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>
#include <sstream>
#include <sys/stat.h>
#include <type_traits>
#include <typeinfo>
#include <unistd.h>
#include <unordered_set>

namespace {

const char kRootItem[] = "QORConfig";

// Where reading a file failed: the object being read (none: the case's own items, or no object yet),
// whether the whole input had been taken, and for XML the line.
struct ReadFailure
{
    ArchivePath path;
    bool bXml = false;
    bool bAtEnd = false;
    std::size_t line = 0; // 0: not known
};

// What an archive's failure means to the user, in plain words.
std::string PlainReason(const boost::archive::archive_exception& e, const ReadFailure& where)
{
    using boost::archive::archive_exception;
    const std::string what = e.what();
    auto says = [&what](const char* text) { return what.find(text) != std::string::npos; };
    if (dynamic_cast<const boost::archive::xml_archive_exception*>(&e))
        return "the file's XML is damaged or does not hold a QOR case";
    switch (e.code)
    {
    case archive_exception::invalid_signature: return "it is not a QOR case file";
    case archive_exception::unsupported_version:
        return "it was written by a newer version of the archive library than this program's (by a newer QOR)";
    case archive_exception::unsupported_class_version: return "it was written by a newer version of QOR";
    case archive_exception::unregistered_class:
        return "the file is damaged: it names a kind of element that QOR does not know";
    case archive_exception::pointer_conflict: return "the file is damaged: its elements refer to one another wrongly";
    case archive_exception::array_size_too_short: return "the file is damaged: a count is larger than the file";
    case archive_exception::input_stream_error:
        if (says("count larger than the file")) return "the file is damaged: a count is larger than the file";
        if (says("neither 0 nor 1")) return "the file is damaged: a yes-or-no value is neither";
        if (says("UTF-8")) return "the file is damaged: a text is not valid UTF-8";
        // The library gives one error for input that ended and input it could not parse.
        if (says("ends before the archive does") || says("ends in the archive's header") || where.bAtEnd)
            return "the file ends early";
        return where.bXml ? "the file's XML is damaged or does not hold a QOR case" : "the file is damaged";
    case archive_exception::output_stream_error:
        return errno ? std::string("the file could not be written: ") + std::strerror(errno)
                     : std::string("the file could not be written (the disk may be full)");
    default: return "the file is damaged (" + what + ")";
    }
}

// The kind of an object of a case file, in the user's words.
const char* KindWords(const std::type_info* kind)
{
    static const std::pair<const std::type_info*, const char*> kinds[] = {
        {&typeid(CBridge), "bridge"},
        {&typeid(CBridgeSet), "bridge set"},
        {&typeid(CLoadModel), "load model"},
        {&typeid(CLoadModelEnsemble), "load model ensemble"},
        {&typeid(CReferenceCollection), "reference collection"},
        {&typeid(CReferenceSet), "reference set"},
        {&typeid(CEnvelopeResults), "envelope results"},
        {&typeid(CEnvelope), "envelope"},
    };
    for (const auto& k : kinds)
        if (kind && *k.first == *kind) return k.second;
    return "element";
}

// "envelope 2 of reference set 1 of reference collection 1 of the case": the object being read.
std::string PlaceWords(const ArchivePath& path)
{
    std::string words;
    for (auto place = path.rbegin(); place != path.rend(); ++place)
        words += std::string(KindWords(place->kind)) + " " + std::to_string(place->ordinal) + " of ";
    return words + "the case";
}

// Failures of every kind become one kind, with the hint that fits the reason; where names the object
// being read when the file was refused, when one was, and the line of an XML file.
template <class Work>
void AsCaseFileError(Work work, const ReadFailure& where = ReadFailure())
{
    auto reading = [&where](bool always) {
        std::string place;
        if (!where.path.empty() || always) place = "reading " + PlaceWords(where.path);
        if (where.line > 0) place += (place.empty() ? "line " : ", line ") + std::to_string(where.line);
        return place.empty() ? place : " (" + place + ")";
    };
    try
    {
        work();
    }
    catch (const CCaseFileError&)
    {
        throw;
    }
    catch (const std::bad_alloc&)
    {
        // The counts a file declares are checked against its size before anything is made for them:
        // what does not fit is memory the process may not have now, not an impossible file.
        throw CCaseFileError("there is not enough memory for it" + reading(false), "");
    }
    catch (const boost::archive::archive_exception& e)
    {
        // The library's words go with a refused file (not with a failed write, which the system explains).
        const bool writing = e.code == boost::archive::archive_exception::output_stream_error;
        // A class of a later version may be the case itself.
        const bool newer = e.code == boost::archive::archive_exception::unsupported_class_version;
        throw CCaseFileError(PlainReason(e, where) + reading(newer), "", writing ? "" : e.what());
    }
    catch (const std::exception& e)
    {
        throw CCaseFileError(std::string(e.what()) + reading(false), "");
    }
    catch (const char* text)
    {
        // An element's own check while it was read (a bridge set whose bridges cannot be made).
        throw CCaseFileError("the file is damaged" + reading(false) + ": " + (text ? text : ""), "");
    }
    catch (...)
    {
        throw CCaseFileError("unknown error" + reading(false), "");
    }
}

// The whole stream, read in blocks (a character at a time is many times slower) into a buffer of
// the size the stream tells, when it can.
std::string ReadAll(std::istream& in)
{
    std::string bytes;
    if (std::streambuf* buffer = in.rdbuf())
    {
        const std::streamoff here = buffer->pubseekoff(0, std::ios::cur, std::ios::in);
        const std::streamoff end = buffer->pubseekoff(0, std::ios::end, std::ios::in);
        if (here >= 0 && end > here && buffer->pubseekpos(here, std::ios::in) == here)
        {
            bytes.resize(static_cast<std::size_t>(end - here));
            const std::streamsize got = in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())).gcount();
            bytes.resize(static_cast<std::size_t>(got));
            in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
        }
    }
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) bytes.append(block, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw CCaseFileError("the file could not be read", "");
    return bytes;
}

bool Finite(double v) { return std::isfinite(v); }

// One pass over everything a case holds, each object once however often it is shared (checked at
// the first place it is found). A fault is told by the object's kind and place.
class CCaseCheck
{
public:
    void Case(const CCaseData& data)
    {
        List(data.m_vBridge, "bridge", &CCaseCheck::Bridge);
        List(data.m_vBridgeSet, "bridge set", &CCaseCheck::BridgeSet);
        List(data.m_vLoadModel, "load model", &CCaseCheck::LoadModel);
        List(data.m_vLoadModelEnsemble, "load model ensemble", &CCaseCheck::Ensemble);
        List(data.m_vRefCollection, "reference collection", &CCaseCheck::Collection);
    }

private:
    // Each entry of a list, as "<kind> <place from 1> of <where the list is>".
    template <class T, class Check>
    void List(const std::vector<std::shared_ptr<T>>& list, const char* kind, Check check)
    {
        for (std::size_t i = 0; i < list.size(); ++i) One(list[i].get(), kind + (" " + std::to_string(i + 1)), check);
    }

    template <class T, class Check>
    void One(const T* object, const std::string& name, Check check)
    {
        m_Where.push_back(name);
        if (!object) Fault("is empty");
        if (m_Seen.insert(object).second) (this->*check)(*object);
        m_Where.pop_back();
    }

    [[noreturn]] void Fault(const std::string& what) const
    {
        std::string where;
        for (auto name = m_Where.rbegin(); name != m_Where.rend(); ++name) where += *name + " of ";
        throw CCaseFileError("the file is damaged: " + where + "the case " + what, "");
    }

    void Type(const CElement& e, int type) const
    {
        if (e.m_ElementType != type) Fault("has the type code of another kind of element");
    }

    void Bridge(const CBridge& b)
    {
        Type(b, CElement::ELEMENT_BRIDGE);
        if (b.m_Config < CBridge::CONFIG_ONESPAN || b.m_Config > CBridge::CONFIG_EXPLICIT)
            Fault("has an unknown bridge configuration");
        if (b.m_vSpans.size() > kMaxSpansPerBridge) Fault("has more than 100 spans");
        if (!Finite(b.m_SpanLength)) Fault("has a span length that is not a finite number");
        for (double L : b.m_vSpans)
            if (!(L > 0.0) || !Finite(L)) Fault("has a span length that is not a positive finite number");
    }

    void BridgeSet(const CBridgeSet& s)
    {
        Type(s, CElement::ELEMENT_BRIDGESET);
        if (s.m_Config < CBridge::CONFIG_ONESPAN || s.m_Config > CBridge::CONFIG_EXPLICIT)
            Fault("has an unknown bridge configuration");
        if (s.m_nBridge < 0 || s.m_nBridge > kMaxBridgesPerSet) Fault("has a bridge count outside 0 to 1000");
        if (!Finite(s.m_StartL) || !Finite(s.m_EndL)) Fault("has a first or last span that is not a finite number");
    }

    void LoadModel(const CLoadModel& m)
    {
        Type(m, CElement::ELEMENT_LOADMODEL);
        if (m.m_lmBridge < CLoadModel::LM_A36_UDL || m.m_lmBridge > CLoadModel::LM_NONE ||
            m.m_WidthFactor < CLoadModel::WIDTH_NONE || m.m_WidthFactor > CLoadModel::WIDTH_HIGH)
            Fault("has an unknown span rule or width factor");
        bool ok = Finite(m.GetOverallFactor()) && Finite(m.m_Gamma) && Finite(m.m_GammaPL) && Finite(m.m_GammaUDL) &&
                  Finite(m.m_GammaPUDL) && Finite(m.m_minL) && Finite(m.m_maxL) && Finite(m.m_PointLoadStart) &&
                  Finite(m.m_Length);
        for (const auto& u : m.m_vUDL) ok = ok && Finite(u.gamma) && Finite(u.magnitude);
        for (const auto& p : m.m_vPL)
            ok = ok && Finite(p.gamma) && Finite(p.magnitude) && Finite(p.location) && Finite(p.width);
        for (const auto& p : m.m_vPUDL)
            ok = ok && Finite(p.gamma) && Finite(p.magnitude) && Finite(p.location) && Finite(p.cover);
        if (!ok) Fault("has a load, factor or location that is not a finite number");
    }

    void Ensemble(const CLoadModelEnsemble& e)
    {
        Type(e, CElement::ELEMENT_LOADMODELENSEMBLE);
        List(e.m_vLoadModel, "load model", &CCaseCheck::LoadModel);
    }

    void Results(const CEnvelopeResults& r)
    {
        if (r.m_pBridge) One(r.m_pBridge.get(), "the bridge", &CCaseCheck::Bridge);
        std::vector<std::shared_ptr<CEnvelope>> envelopes = r.m_vEnvReaction;
        envelopes.push_back(r.m_pEnvBMD);
        envelopes.push_back(r.m_pEnvSFD);
        for (const auto& env : envelopes)
        {
            if (!env) continue;
            for (const auto* points : {&env->m_vMax, &env->m_vMin})
                for (const PointLoadEffect& p : *points)
                    if (!Finite(p.val) || !Finite(p.xBeam) || !Finite(p.xLoadModel))
                        Fault("holds a load effect or location that is not a finite number");
        }
    }

    void Envelopes(const CReferenceSet::EnvList& list, const char* kind)
    {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i]) One(list[i].get(), kind + (" " + std::to_string(i + 1)), &CCaseCheck::Results);
    }

    void RefSet(const CReferenceSet& r)
    {
        One(r.m_pBridgeSet.get(), "the bridge set", &CCaseCheck::BridgeSet);
        One(r.m_pRefLME.get(), "the reference load model ensemble", &CCaseCheck::Ensemble);
        if (r.m_pPropLME) One(r.m_pPropLME.get(), "the proposed load model ensemble", &CCaseCheck::Ensemble);
        if (!Finite(r.m_OverstressFactor)) Fault("has an overstress factor that is not a finite number");
        Envelopes(r.m_vOverstressCritEnv, "overstress critical envelopes");
        Envelopes(r.m_vLiveLoadCritEnv, "live load critical envelopes");
        Envelopes(r.m_vRefCritEnv, "reference critical envelopes");
        Envelopes(r.m_vPropCritEnv, "proposed critical envelopes");
        Envelopes(r.m_vRatios, "ratio envelopes");
    }

    void Collection(const CReferenceCollection& c)
    {
        Type(c, CElement::ELEMENT_REFCOLLECTION);
        if (!Finite(c.m_StepSize) || (c.m_bByStep && !(c.m_StepSize > 0.0)))
            Fault("has a step size that is not a finite number greater than zero");
        if (!Finite(c.m_OverstressFactor)) Fault("has an overstress factor that is not a finite number");
        List(c.m_vBS, "bridge set", &CCaseCheck::BridgeSet);
        List(c.m_vLME, "load model ensemble", &CCaseCheck::Ensemble);
        List(c.m_vRefSet, "reference set", &CCaseCheck::RefSet);
    }

    std::unordered_set<const void*> m_Seen;
    std::vector<std::string> m_Where; // the object being checked and those holding it, outermost first
};

} // namespace

CCaseFileError::CCaseFileError(const std::string& what, std::string hint, std::string library)
    : std::runtime_error(what), m_Hint(std::move(hint)), m_Library(std::move(library))
{}

void ValidateCase(const CCaseData& data) { CCaseCheck().Case(data); }

namespace {

// Envelope points make nearly all of a large case's file; each takes about this many bytes.
constexpr std::uint64_t kBinaryBytesPerPoint = 34;
constexpr std::uint64_t kXmlBytesPerPoint = 360;
constexpr std::uint64_t kBytesBesidePoints = 64 * 1024;

std::uint64_t EnvelopePoints(const CCaseData& data)
{
    std::unordered_set<const void*> seen;
    std::uint64_t points = 0;
    for (const auto& c : data.m_vRefCollection)
        for (const auto& r : c ? c->m_vRefSet : std::vector<std::shared_ptr<CReferenceSet>>{})
            for (const auto* list : {&r->m_vOverstressCritEnv, &r->m_vLiveLoadCritEnv, &r->m_vRefCritEnv,
                                     &r->m_vPropCritEnv, &r->m_vRatios})
                for (const auto& results : *list)
                {
                    if (!results || !seen.insert(results.get()).second) continue;
                    std::vector<std::shared_ptr<CEnvelope>> envelopes = results->m_vEnvReaction;
                    envelopes.push_back(results->m_pEnvBMD);
                    envelopes.push_back(results->m_pEnvSFD);
                    for (const auto& env : envelopes)
                        if (env && seen.insert(env.get()).second) points += env->m_vMax.size() + env->m_vMin.size();
                }
    return points;
}

// The case as one archive item, written through the buffer (which the caller finishes).
void WriteCase(CArchiveOutBuffer& buffer, const CCaseData& data, bool binary)
{
    if (binary)
    {
        CBinaryOutArchive ar(buffer);
        ar << boost::serialization::make_nvp(kRootItem, data);
    }
    else
    {
        CXmlOutArchive ar(buffer);
        ar << boost::serialization::make_nvp(kRootItem, data);
        ar.Finish();
    }
    buffer.Finish();
}

} // namespace

std::uint64_t EstimateCaseFileBytes(const CCaseData& data, bool binary)
{
    return EnvelopePoints(data) * (binary ? kBinaryBytesPerPoint : kXmlBytesPerPoint) + kBytesBesidePoints;
}

void SaveCase(std::ostream& out, const CCaseData& data, bool binary, CCaseFileProgress* progress)
{
    AsCaseFileError([&] {
        if (progress) progress->SetTotal(EstimateCaseFileBytes(data, binary));
        CArchiveOutBuffer buffer(*out.rdbuf(), progress);
        WriteCase(buffer, data, binary);
        out.flush();
        if (!out) throw boost::archive::archive_exception(boost::archive::archive_exception::output_stream_error);
    });
}

void SaveCaseFile(int fd, const CCaseData& data, bool binary, CCaseFileProgress* progress)
{
    AsCaseFileError([&] {
        if (progress) progress->SetTotal(EstimateCaseFileBytes(data, binary));
        CArchiveOutBuffer buffer(fd, progress);
        errno = 0;
        WriteCase(buffer, data, binary);
    });
}

static void LoadCaseBytes(std::string bytes, CCaseData& data, CCaseFileProgress* progress);

namespace {

// The case's one item (and an XML archive's closing element); where, what the archive was at when it
// failed (its form is the caller's to set: an archive may fail before it gets here). A class of the
// program's own of a later version than this program writes is refused.
template <class Archive>
void ReadRoot(Archive& ar, CCaseData& loaded, ReadFailure& where)
{
    try
    {
        ar.RefuseNewerClasses();
        ar >> boost::serialization::make_nvp(kRootItem, loaded);
        if constexpr (std::is_same_v<Archive, CXmlInArchive>) ar.Finish();
    }
    catch (...)
    {
        where.path = ar.FailedAt();
        where.bAtEnd = ar.BytesLeft() == 0;
        if constexpr (std::is_same_v<Archive, CXmlInArchive>) where.line = ar.Line();
        throw;
    }
}

} // namespace

bool IsXmlCaseFile(const std::string& bytes)
{
    // An XML archive is text that starts with its declaration (after a byte-order mark or blanks, as an
    // editor may leave them); a binary archive starts with the length of its signature.
    size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    return bytes.compare(at, 5, "<?xml") == 0;
}

void LoadCase(std::istream& in, CCaseData& data, CCaseFileProgress* progress)
{
    std::string bytes;
    AsCaseFileError([&] { bytes = ReadAll(in); });
    if (progress)
    {
        progress->SetTotal(2 * bytes.size());
        progress->SetDone(bytes.size());
    }
    LoadCaseBytes(std::move(bytes), data, progress);
}

void LoadCaseFile(int fd, CCaseData& data, CCaseFileProgress* progress)
{
    std::string bytes;
    std::uint64_t size = 0;
    bool binary = false;
    AsCaseFileError([&] {
        struct stat st = {};
        size = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
        if (progress) progress->SetTotal(size);
        auto readSome = [fd](char* to, std::size_t n) {
            for (;;)
            {
                const ssize_t got = ::read(fd, to, n);
                if (got >= 0) return static_cast<std::size_t>(got);
                if (errno != EINTR)
                    throw CCaseFileError(std::string("the file could not be read: ") + std::strerror(errno), "");
            }
        };
        // The first block tells the form. A binary file is read block by block as its objects are
        // built, so that an open holds one block of it beside them; the counts it declares are
        // checked against its size before anything is made for them.
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, CArchiveInBuffer::kBlockSize)));
        std::size_t done = 0;
        while (done < bytes.size())
        {
            const std::size_t n = readSome(bytes.data() + done, bytes.size() - done);
            if (n == 0) break;
            done += n;
        }
        bytes.resize(done);
        const bool told = std::any_of(bytes.begin(), bytes.end(), [](char c) {
            return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\xEF' && c != '\xBB' && c != '\xBF';
        });
        binary = told && !IsXmlCaseFile(bytes) && size > 0;
        if (binary) return;
        // An XML file (or one whose form the first block does not tell) is read whole: its
        // objects take a small part of its size.
        if (progress) progress->SetTotal(2 * size);
        bytes.reserve(static_cast<std::size_t>(size));
        char tail[1 << 16];
        while (const std::size_t n = readSome(tail, sizeof tail))
        {
            bytes.append(tail, n);
            if (progress) progress->SetDone(std::min<std::uint64_t>(bytes.size(), size));
        }
    });
    if (!binary)
    {
        if (progress)
        {
            progress->SetTotal(2 * bytes.size());
            progress->SetDone(bytes.size());
        }
        LoadCaseBytes(std::move(bytes), data, progress);
        return;
    }
    ReadFailure where;
    AsCaseFileError(
        [&] {
            CCaseData loaded;
            {
                CBinaryInArchive ar(fd, std::move(bytes), size);
                ar.ReportProgress(progress, 0, size);
                ReadRoot(ar, loaded, where);
            }
            ValidateCase(loaded);
            data = std::move(loaded);
            if (progress) progress->SetDone(progress->Total());
        },
        where);
}

static void LoadCaseBytes(std::string bytes, CCaseData& data, CCaseFileProgress* progress)
{
    const bool binary = !IsXmlCaseFile(bytes);
    const std::uint64_t size = bytes.size();
    ReadFailure where;
    where.bXml = !binary;
    AsCaseFileError(
        [&] {
            CCaseData loaded;
            if (binary)
            {
                CBinaryInArchive ar(std::move(bytes));
                ar.ReportProgress(progress, size, size);
                ReadRoot(ar, loaded, where);
            }
            else
            {
                CXmlInArchive ar(std::move(bytes));
                ar.ReportProgress(progress, size, size);
                ReadRoot(ar, loaded, where);
            }
            ValidateCase(loaded);
            data = std::move(loaded);
            if (progress) progress->SetDone(progress->Total());
        },
        where);
}
