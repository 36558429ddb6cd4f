// The checks our input archives add to the archive library's: collection counts within the
// bytes left and a cap, class ids that the library can resolve, and (when asked) class versions
// that this program knows.
//
// The library trusts what it reads: a declared count is allocated before a single element is
// read, and a pointer's class id indexes its class table unchecked. A damaged or hostile
// case file therefore could exhaust memory or crash the program. Every load of a settings or
// case file goes through an archive derived from this class (CXmlInArchive, CBinaryInArchive),
// which refuses such input with an archive exception before the library acts on it.
#pragma once

#include "engine/archive/CaseFileProgress.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/basic_archive.hpp>
#include <boost/archive/detail/basic_iserializer.hpp>
#include <boost/archive/detail/basic_pointer_iserializer.hpp>
#include <boost/serialization/collection_size_type.hpp>
#include <boost/serialization/extended_type_info.hpp>
#include <boost/serialization/nvp.hpp>

#include <cxxabi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// The most elements one collection of a file may declare. No case or settings file of real
// work comes near it (the longest lists, reaction histories, stay below a million).
inline constexpr std::size_t kMaxArchiveCount = std::size_t{1} << 24;

// Refuses (unsupported_version) a file whose header names a newer version of the archive library
// than the one this program is built with: its form may have changed in ways ours cannot tell.
inline void CheckArchiveLibraryVersion(unsigned long long version)
{
    if (version > static_cast<unsigned long long>(boost::archive::BOOST_ARCHIVE_VERSION()))
        throw boost::archive::archive_exception(boost::archive::archive_exception::unsupported_version);
}

// An object of a file: its class, and its place (from 1) among the objects of that class read within
// the object that holds it.
struct ArchivePlace
{
    const std::type_info* kind = nullptr;
    std::size_t ordinal = 0;
};
using ArchivePath = std::vector<ArchivePlace>;

// The name of the class a serializer reads, as the source spells it ("CBridge", "std::vector<double>").
inline std::string ArchiveClassName(const boost::archive::detail::basic_iserializer& bis)
{
    const char* mangled = bis.get_debug_info();
    if (!mangled) return std::string();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

// A class of the program's own: not one of the standard library (whose containers and pointers the
// archive library reads by its own rules) or of Boost.
inline bool IsProgramClass(const boost::archive::detail::basic_iserializer& bis)
{
    const std::string name = ArchiveClassName(bis);
    return !name.empty() && name.rfind("std::", 0) != 0 && name.rfind("boost::", 0) != 0;
}

// Archive is the final archive class (which provides BytesLeft() and kMinBytesPerItem, the
// fewest bytes any element of a collection takes in its form), Base the library's
// implementation template instantiated for it.
template <class Archive, class Base>
class CCheckedInArchive : public Base
{
public:
    using PointerFinder =
        const boost::archive::detail::basic_pointer_iserializer* (*)(const boost::serialization::extended_type_info&);

    // Called by the archive library (the archive classes resolve these names on the most
    // derived class, so they stand in for the library's own).

    template <class T>
    void load_override(T& t)
    {
        Base::load_override(t);
    }

    // A pointer's class id: an id seen before, or the next new one. Its class is the one whose
    // record (if the file has it here) comes next.
    void load_override(boost::archive::class_id_type& t)
    {
        Base::load_override(t);
        m_pPointerClass = nullptr;
        const int id = t;
        if (id == -1) return; // a null pointer
        if (id < 0 || static_cast<std::size_t>(id) > m_vClasses.size())
            throw boost::archive::archive_exception(boost::archive::archive_exception::unregistered_class);
        if (static_cast<std::size_t>(id) < m_vClasses.size())
        {
            m_pPointerClass = m_vClasses[static_cast<std::size_t>(id)];
            return;
        }
        // A new class. Without a class name to follow, the library registers the pointer's own
        // class, which must be new to the archive.
        if (m_pPointer && !m_pPointer->get_basic_serializer().is_polymorphic())
        {
            Register(m_pPointer->get_basic_serializer(), true);
            m_pPointerClass = &m_pPointer->get_basic_serializer();
        }
        else
            m_bNameExpected = true;
    }

    // A class record's tracking flag and version, noted for the class whose object is being
    // started (see load_object).
    void load_override(boost::archive::tracking_type& t)
    {
        Base::load_override(t);
        // A binary file gives the flag as a byte of its own, which must be 0 or 1 to be a flag.
        unsigned char raw = 0;
        static_assert(sizeof(t) == sizeof(raw));
        std::memcpy(&raw, static_cast<const void*>(&t), 1);
        if (raw > 1)
            throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                    "a boolean that is neither 0 nor 1");
        m_bRecordTracking = raw != 0;
    }

    void load_override(boost::archive::version_type& t)
    {
        Base::load_override(t);
        const boost::archive::detail::basic_iserializer* of = m_pRecordFor ? m_pRecordFor : m_pPointerClass;
        m_pPointerClass = nullptr;
        // The library reads the data of a class of a later version than it knows as if it were
        // of its own version (and the class's own reading may not tell): what the later version
        // added would be lost, or taken for something else.
        if (of && m_bRefuseNewerClasses && static_cast<unsigned int>(t) > of->version() && IsProgramClass(*of))
            throw boost::archive::archive_exception(boost::archive::archive_exception::unsupported_class_version,
                                                    ArchiveClassName(*of).c_str());
        if (m_pRecordFor)
        {
            m_Records[m_pRecordFor] = {m_bRecordTracking, static_cast<unsigned int>(t)};
            m_pRecordFor = nullptr;
        }
    }

    // The class name of a new polymorphic class: a class this program exports, new to the
    // archive.
    void load_override(boost::archive::class_name_type& t)
    {
        Base::load_override(t);
        if (!m_bNameExpected) return;
        m_bNameExpected = false;
        const char* key = t;
        const boost::serialization::extended_type_info* eti =
            key[0] ? boost::serialization::extended_type_info::find(key) : nullptr;
        const boost::archive::detail::basic_pointer_iserializer* bpis = eti && m_pFinder ? m_pFinder(*eti) : nullptr;
        if (!bpis) throw boost::archive::archive_exception(boost::archive::archive_exception::unregistered_class, key);
        Register(bpis->get_basic_serializer(), true);
        m_pPointerClass = &bpis->get_basic_serializer();
    }

    template <class T>
    void load(T& t)
    {
        Base::load(t);
    }

    void load(boost::serialization::collection_size_type& t)
    {
        Base::load(t);
        CheckCount(t, Archive::kMinBytesPerItem);
    }

    // From here on, an object of a class of the program's own whose version in the file is later
    // than the one this program writes is refused (unsupported_class_version, naming the class);
    // the library's classes are read as the library reads them.
    void RefuseNewerClasses() { m_bRefuseNewerClasses = true; }

    // The bytes taken in are added to base and reported to progress now and then (the archive
    // holds size bytes in all).
    void ReportProgress(CCaseFileProgress* progress, std::uint64_t base, std::uint64_t size)
    {
        m_pProgress = progress;
        m_nProgressBase = base;
        m_nSize = size;
    }

    void load_object(void* t, const boost::archive::detail::basic_iserializer& bis)
    {
        if (m_pProgress && (++m_nLoads & 0x3FFF) == 0)
        {
            const std::size_t left = static_cast<Archive*>(this)->BytesLeft();
            m_pProgress->SetDone(m_nProgressBase + (m_nSize > left ? m_nSize - left : 0));
        }
        if (m_bPointeeNext)
        {
            // The object a pointer load has just made on the heap (first: it is whole now, and
            // destroyed as such if anything from here on fails).
            m_bPointeeNext = false;
            m_Loading.back() = {t, &bis, false};
            m_Made.emplace(t, &bis);
        }
        Register(bis, false);
        m_pPointerClass = nullptr;
        // An untracked object of a class whose record was read: its data alone, as the library
        // would read it (without its look-up of the class by type name for each object).
        if (const ClassRecord* record = FindRecord(bis); record && !record->bTracking)
        {
            m_pRecordFor = nullptr;
            bis.load_object_data(*this, t, record->version);
            return;
        }
        // The library reads the class's record first, when the file has it here (any object
        // started inside comes later and takes this over).
        m_pRecordFor = &bis;
        Base::load_object(t, bis);
        m_pRecordFor = nullptr;
    }

    // The library makes the object of a pointer on the heap and hands it to its owner only once
    // it is wholly read: a failure on the way would leak it (and the objects it holds). Such an
    // object is destroyed here, unless something read inside it already points to it (and owns it).
    const boost::archive::detail::basic_pointer_iserializer*
    load_pointer(void*& t, const boost::archive::detail::basic_pointer_iserializer* bpis, PointerFinder finder)
    {
        m_pRecordFor = nullptr; // the record read here is the pointer's class's
        const auto saved = std::make_pair(m_pPointer, m_pFinder);
        m_pPointer = bpis;
        m_pFinder = finder;
        m_bNameExpected = false;
        m_Handed = {};
        m_Loading.push_back({});
        m_bPointeeNext = true;
        void* const given = t;
        const boost::archive::detail::basic_pointer_iserializer* loaded = nullptr;
        try
        {
            loaded = Base::load_pointer(t, bpis, finder);
        }
        catch (...)
        {
            const Pointee p = m_Loading.back();
            m_Loading.pop_back();
            m_bPointeeNext = false;
            if (p.address && !p.bOwned)
                p.bis->destroy(p.address);
            else if (!p.address && t && t != given)
                ::operator delete(t); // the memory the library took for it, before it was made (or as it failed)
            throw;
        }
        const Pointee made = m_Loading.back();
        m_Loading.pop_back();
        m_bPointeeNext = false;
        // A pointer to an object read before: the library hands back whatever object the file's
        // object id names, whichever its class, and the owner then looks into it as the class
        // the file declared. Only an object made by a pointer load of that very class will do.
        if (t && t != made.address && loaded)
        {
            const auto found = m_Made.find(t);
            if (found == m_Made.end() || found->second != &loaded->get_basic_serializer())
                throw boost::archive::archive_exception(boost::archive::archive_exception::pointer_conflict,
                                                        "an object reference of the wrong class");
            // Nor one still being read: that would be a cycle, which no case holds and which
            // shared pointers would never free.
            for (const Pointee& p : m_Loading)
                if (p.address == t)
                    throw boost::archive::archive_exception(boost::archive::archive_exception::pointer_conflict,
                                                            "an object that holds itself");
        }
        // A pointer to an object still being read, of the class the pointer asks for, owns it now
        // (one to an object of another class is refused by the library and owns nothing).
        for (Pointee& p : m_Loading)
            if (p.address && p.address == t && bpis && p.bis == &bpis->get_basic_serializer()) p.bOwned = true;
        m_pPointer = saved.first;
        m_pFinder = saved.second;
        if (made.address && t == made.address && !made.bOwned) m_Handed = made;
        return loaded;
    }

    // Registering is the same whenever it is repeated; the library's own look-up (which compares
    // type names) is asked only the first time.
    void register_basic_serializer(const boost::archive::detail::basic_iserializer& bis)
    {
        if (IsRegistered(bis)) return;
        Register(bis, false);
        Base::register_basic_serializer(bis);
    }

    // A shared pointer, shared with every other one that the file makes point to the same
    // object (the library's helper does the same, looking the object's type up by name each time).
    template <class T>
    void LoadShared(std::shared_ptr<T>& t)
    {
        // Where the file is: the object's kind and its place among the objects of that kind the one
        // holding it has read so far (its place in the list, for the lists of a case).
        std::vector<std::pair<const std::type_info*, std::size_t>>& siblings = m_Siblings[m_Path.size()];
        auto counted =
            std::find_if(siblings.begin(), siblings.end(), [](const auto& kind) { return kind.first == &typeid(T); });
        if (counted == siblings.end()) counted = siblings.insert(siblings.end(), {&typeid(T), 0});
        m_Path.push_back({&typeid(T), ++counted->second});
        if (m_Siblings.size() <= m_Path.size()) m_Siblings.resize(m_Path.size() + 1);
        m_Siblings[m_Path.size()].clear();
        T* r = nullptr;
        try
        {
            *static_cast<Archive*>(this) >> boost::serialization::make_nvp("px", r);
        }
        catch (...)
        {
            if (m_FailedAt.empty()) m_FailedAt = m_Path;
            m_Path.pop_back();
            // The pointer's item failed after its object was wholly read (an XML file's closing tag):
            // the new object, which nothing owns yet, goes with it.
            DestroyHanded();
            throw;
        }
        m_Path.pop_back();
        m_Handed = {};
        if (!r)
        {
            t.reset();
            return;
        }
        const void* object = r;
        if constexpr (std::is_polymorphic_v<T>) object = dynamic_cast<const void*>(r);
        if (const auto it = m_Shared.find(object); it != m_Shared.end())
        {
            t = std::shared_ptr<T>(it->second, r);
            return;
        }
        t.reset(r); // owned from here on, whatever fails next
        m_Shared.emplace(object, t);
    }

    // The object being read when the load failed, outermost first (empty when no object was).
    const ArchivePath& FailedAt() const { return m_FailedAt; }

protected:
    template <class... Args>
    explicit CCheckedInArchive(Args&&... args) : Base(std::forward<Args>(args)...), m_Siblings(1)
    {}

    // A count of elements (or characters) that cannot fit in what is left of the input, or
    // that exceeds the cap, is refused before anything is allocated for it.
    void CheckCount(std::size_t count, std::size_t bytesPerElement = 1)
    {
        const std::size_t left = static_cast<Archive*>(this)->BytesLeft();
        if (count > kMaxArchiveCount || count > left / bytesPerElement)
            throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                    "collection count larger than the file");
    }

private:
    struct ClassRecord
    {
        bool bTracking = true;
        unsigned int version = 0;
    };

    // The record of a class read before, or null; the last two asked for are at hand (a point and
    // its load model's pointer take turns).
    const ClassRecord* FindRecord(const boost::archive::detail::basic_iserializer& bis)
    {
        if (m_Recent[0].first == &bis) return m_Recent[0].second;
        std::swap(m_Recent[0], m_Recent[1]);
        if (m_Recent[0].first == &bis) return m_Recent[0].second;
        const auto it = m_Records.find(&bis);
        if (it == m_Records.end()) return nullptr;
        m_Recent[0] = {&bis, &it->second};
        return &it->second;
    }

    // The object the last pointer load made and handed to its owner, unless a shared pointer owns it
    // already.
    void DestroyHanded()
    {
        const Pointee handed = m_Handed;
        m_Handed = {};
        if (handed.address && m_Shared.count(handed.address) == 0) handed.bis->destroy(handed.address);
    }

    bool IsRegistered(const boost::archive::detail::basic_iserializer& bis) const
    {
        return &bis == m_pLastRegistered || &bis == m_pPrevRegistered || m_Registered.count(&bis) != 0;
    }

    // Mirrors the library's class table: every serializer it registers takes the next id.
    // bMustBeNew: the file declared a new class id for it.
    void Register(const boost::archive::detail::basic_iserializer& bis, bool bMustBeNew)
    {
        // Runs of one class (list items) and of pairs (a point and its load model's pointer).
        if ((&bis == m_pLastRegistered || &bis == m_pPrevRegistered) && !bMustBeNew) return;
        m_pPrevRegistered = m_pLastRegistered;
        m_pLastRegistered = &bis;
        const bool bNew = m_Registered.insert(&bis).second;
        if (bNew)
            m_vClasses.push_back(&bis);
        else if (bMustBeNew)
            throw boost::archive::archive_exception(boost::archive::archive_exception::unregistered_class);
    }

    struct Pointee
    {
        void* address = nullptr;
        const boost::archive::detail::basic_iserializer* bis = nullptr;
        bool bOwned = false;
    };

    std::vector<Pointee> m_Loading; // objects of the pointer loads under way, outermost first
    // Every object a pointer load has made, with its class (what a later reference may name).
    std::unordered_map<const void*, const boost::archive::detail::basic_iserializer*> m_Made;
    bool m_bPointeeNext = false; // the next object loaded is the newest pointer's
    Pointee m_Handed;            // the object the last pointer load made, until its owner takes it
    ArchivePath m_Path;          // the objects being read, outermost first
    ArchivePath m_FailedAt;
    // For each object being read (the archive's top first), the objects of each kind read in it so far.
    std::vector<std::vector<std::pair<const std::type_info*, std::size_t>>> m_Siblings;
    std::unordered_set<const boost::archive::detail::basic_iserializer*> m_Registered;
    const boost::archive::detail::basic_iserializer* m_pLastRegistered = nullptr;
    const boost::archive::detail::basic_iserializer* m_pPrevRegistered = nullptr;
    // The records (tracking, version) of classes read by load_object, and the class whose
    // object load_object is starting (its record, if the file has it there, comes next).
    std::unordered_map<const boost::archive::detail::basic_iserializer*, ClassRecord> m_Records;
    std::pair<const boost::archive::detail::basic_iserializer*, const ClassRecord*> m_Recent[2] = {};
    const boost::archive::detail::basic_iserializer* m_pRecordFor = nullptr;
    bool m_bRecordTracking = true;
    // Every object a shared pointer owns, by its address as its most derived class.
    std::unordered_map<const void*, std::shared_ptr<const void>> m_Shared;
    std::vector<const boost::archive::detail::basic_iserializer*> m_vClasses; // by class id
    // The class of the pointer being read, whose record may come next (see load_override(version_type)).
    const boost::archive::detail::basic_iserializer* m_pPointerClass = nullptr;
    bool m_bRefuseNewerClasses = false;
    const boost::archive::detail::basic_pointer_iserializer* m_pPointer = nullptr; // pointer being loaded
    PointerFinder m_pFinder = nullptr;
    bool m_bNameExpected = false;
    CCaseFileProgress* m_pProgress = nullptr;
    std::uint64_t m_nProgressBase = 0;
    std::uint64_t m_nSize = 0;
    unsigned m_nLoads = 0;
};
