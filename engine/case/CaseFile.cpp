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
#include <unistd.h>
#include <unordered_set>

namespace {

const char kRootItem[] = "QORConfig";
const char kModelHint[] = "(the file is damaged or holds a case this program cannot analyse)";

// What an archive's failure means to the user, in plain words.
std::string PlainReason(const boost::archive::archive_exception& e)
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
    case archive_exception::unsupported_class_version: return "it was written by a newer version of QOR";
    case archive_exception::unregistered_class:
        return "the file is damaged: it names a kind of element that QOR does not know";
    case archive_exception::pointer_conflict: return "the file is damaged: its elements refer to one another wrongly";
    case archive_exception::array_size_too_short: return "the file is damaged: a count is larger than the file";
    case archive_exception::input_stream_error:
        if (says("count larger than the file")) return "the file is damaged: a count is larger than the file";
        if (says("neither 0 nor 1")) return "the file is damaged: a yes-or-no value is neither";
        if (says("UTF-8")) return "the file is damaged: a text is not valid UTF-8";
        return "the file ends early";
    case archive_exception::output_stream_error:
        return errno ? std::string("the file could not be written: ") + std::strerror(errno)
                     : std::string("the file could not be written (the disk may be full)");
    default: return "the file is damaged (" + what + ")";
    }
}

// Failures of every kind become one kind, with the hint that fits the reason.
template <class Work>
void AsCaseFileError(Work work)
{
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
        throw CCaseFileError("the file declares more data than this computer can hold", "");
    }
    catch (const boost::archive::archive_exception& e)
    {
        throw CCaseFileError(PlainReason(e), "");
    }
    catch (const std::exception& e)
    {
        throw CCaseFileError(e.what(), "");
    }
    catch (const char* text)
    {
        throw CCaseFileError(text ? text : "", kModelHint);
    }
    catch (...)
    {
        throw CCaseFileError("unknown error", "");
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
    if (in.bad()) throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
    return bytes;
}

bool Finite(double v) { return std::isfinite(v); }

// One pass over everything a case holds, each object once however often it is shared.
class CCaseCheck
{
public:
    void Case(const CCaseData& data)
    {
        for (const auto& b : data.m_vBridge) Bridge(b.get());
        for (const auto& s : data.m_vBridgeSet) BridgeSet(s.get());
        for (const auto& m : data.m_vLoadModel) LoadModel(m.get());
        for (const auto& e : data.m_vLoadModelEnsemble) Ensemble(e.get());
        for (const auto& c : data.m_vRefCollection) Collection(c.get());
    }

private:
    bool First(const void* p)
    {
        if (!p) throw kEmptyElementError;
        return m_Seen.insert(p).second;
    }

    static void Type(const CElement& e, int type)
    {
        if (e.m_ElementType != type) throw kElementTypeError;
    }

    void Bridge(const CBridge* b)
    {
        if (!First(b)) return;
        Type(*b, CElement::ELEMENT_BRIDGE);
        if (b->m_Config < CBridge::CONFIG_ONESPAN || b->m_Config > CBridge::CONFIG_EXPLICIT) throw kBridgeConfigError;
        if (b->m_vSpans.size() > kMaxSpansPerBridge) throw kTooManySpansError;
        if (!Finite(b->m_SpanLength)) throw kSpanError;
        for (double L : b->m_vSpans)
            if (!(L > 0.0) || !Finite(L)) throw kSpanError;
    }

    void BridgeSet(const CBridgeSet* s)
    {
        if (!First(s)) return;
        Type(*s, CElement::ELEMENT_BRIDGESET);
        if (s->m_Config < CBridge::CONFIG_ONESPAN || s->m_Config > CBridge::CONFIG_EXPLICIT) throw kBridgeConfigError;
        if (s->m_nBridge < 0 || s->m_nBridge > kMaxBridgesPerSet) throw kTooManyBridgesError;
        if (!Finite(s->m_StartL) || !Finite(s->m_EndL)) throw kSpanError;
    }

    void LoadModel(const CLoadModel* m)
    {
        if (!First(m)) return;
        Type(*m, CElement::ELEMENT_LOADMODEL);
        if (m->m_lmBridge < CLoadModel::LM_A36_UDL || m->m_lmBridge > CLoadModel::LM_NONE) throw kLoadModelOptionError;
        if (m->m_WidthFactor < CLoadModel::WIDTH_NONE || m->m_WidthFactor > CLoadModel::WIDTH_HIGH)
            throw kLoadModelOptionError;
        bool ok = Finite(m->GetOverallFactor()) && Finite(m->m_Gamma) && Finite(m->m_GammaPL) &&
                  Finite(m->m_GammaUDL) && Finite(m->m_GammaPUDL) && Finite(m->m_minL) && Finite(m->m_maxL) &&
                  Finite(m->m_PointLoadStart) && Finite(m->m_Length);
        for (const auto& u : m->m_vUDL) ok = ok && Finite(u.gamma) && Finite(u.magnitude);
        for (const auto& p : m->m_vPL)
            ok = ok && Finite(p.gamma) && Finite(p.magnitude) && Finite(p.location) && Finite(p.width);
        for (const auto& p : m->m_vPUDL)
            ok = ok && Finite(p.gamma) && Finite(p.magnitude) && Finite(p.location) && Finite(p.cover);
        if (!ok) throw kNonFiniteLoadError;
    }

    void Ensemble(const CLoadModelEnsemble* e)
    {
        if (!First(e)) return;
        Type(*e, CElement::ELEMENT_LOADMODELENSEMBLE);
        for (const auto& m : e->m_vLoadModel) LoadModel(m.get());
    }

    void Envelopes(const CReferenceSet::EnvList& list)
    {
        for (const auto& r : list)
        {
            if (!r || !First(r.get())) continue;
            if (r->m_pBridge) Bridge(r->m_pBridge.get());
            std::vector<std::shared_ptr<CEnvelope>> envelopes = r->m_vEnvReaction;
            envelopes.push_back(r->m_pEnvBMD);
            envelopes.push_back(r->m_pEnvSFD);
            for (const auto& env : envelopes)
            {
                if (!env) continue;
                for (const auto* points : {&env->m_vMax, &env->m_vMin})
                    for (const PointLoadEffect& p : *points)
                        if (!Finite(p.val) || !Finite(p.xBeam) || !Finite(p.xLoadModel)) throw kNonFiniteResultError;
            }
        }
    }

    void Collection(const CReferenceCollection* c)
    {
        if (!First(c)) return;
        Type(*c, CElement::ELEMENT_REFCOLLECTION);
        if (!Finite(c->m_StepSize) || (c->m_bByStep && !(c->m_StepSize > 0.0))) throw kStepSizeError;
        if (!Finite(c->m_OverstressFactor)) throw kNonFiniteFactorError;
        for (const auto& s : c->m_vBS) BridgeSet(s.get());
        for (const auto& e : c->m_vLME) Ensemble(e.get());
        for (const auto& r : c->m_vRefSet)
        {
            if (!First(r.get())) continue;
            BridgeSet(r->m_pBridgeSet.get());
            Ensemble(r->m_pRefLME.get());
            if (r->m_pPropLME) Ensemble(r->m_pPropLME.get());
            if (!Finite(r->m_OverstressFactor)) throw kNonFiniteFactorError;
            for (const auto* list : {&r->m_vOverstressCritEnv, &r->m_vLiveLoadCritEnv, &r->m_vRefCritEnv,
                                     &r->m_vPropCritEnv, &r->m_vRatios})
                Envelopes(*list);
        }
    }

    std::unordered_set<const void*> m_Seen;
};

} // namespace

CCaseFileError::CCaseFileError(const std::string& what, std::string hint)
    : std::runtime_error(what), m_Hint(std::move(hint))
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
                    throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
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
    AsCaseFileError([&] {
        CCaseData loaded;
        {
            CBinaryInArchive ar(fd, std::move(bytes), size);
            ar.ReportProgress(progress, 0, size);
            ar >> boost::serialization::make_nvp(kRootItem, loaded);
        }
        ValidateCase(loaded);
        data = std::move(loaded);
        if (progress) progress->SetDone(progress->Total());
    });
}

static void LoadCaseBytes(std::string bytes, CCaseData& data, CCaseFileProgress* progress)
{
    const bool binary = !IsXmlCaseFile(bytes);
    const std::uint64_t size = bytes.size();
    AsCaseFileError([&] {
        CCaseData loaded;
        if (binary)
        {
            CBinaryInArchive ar(std::move(bytes));
            ar.ReportProgress(progress, size, size);
            ar >> boost::serialization::make_nvp(kRootItem, loaded);
        }
        else
        {
            CXmlInArchive ar(std::move(bytes));
            ar.ReportProgress(progress, size, size);
            ar >> boost::serialization::make_nvp(kRootItem, loaded);
            ar.Finish();
        }
        ValidateCase(loaded);
        data = std::move(loaded);
        if (progress) progress->SetDone(progress->Total());
    });
}
