// The binary output archive of case files: byte for byte what the library's binary_oarchive
// writes, at the cost of the bytes only.
//
//     CArchiveOutBuffer buffer(fd, &progress);
//     {
//         CBinaryOutArchive ar(buffer);             // writes the archive's header
//         ar << boost::serialization::make_nvp("QORConfig", data);
//     }
//     buffer.Finish();
//
// The library keeps its classes and objects in ordered sets whose keys compare by type name,
// and looks a pointer's true type up by name too, for every item: a case's millions of envelope
// points spent most of a save on string comparisons. This archive keeps the same class ids,
// object ids and class records in tables keyed by address, takes a pointer whose object is of
// exactly its declared class without the lookup, and writes small values straight into the
// buffer. Everything it writes goes through the same calls as the library's (the class ids,
// tracking flags, versions and object ids through the archive's own operators), so the file is
// the one the library would make.
#pragma once

#include "engine/archive/ArchiveOutBuffer.h"

#include <boost/archive/binary_oarchive_impl.hpp>
#include <boost/archive/detail/basic_oserializer.hpp>
#include <boost/archive/detail/basic_pointer_oserializer.hpp>
#include <boost/archive/detail/register_archive.hpp>
#include <boost/serialization/array_optimization.hpp>
#include <boost/serialization/assume_abstract.hpp>
#include <boost/serialization/collection_size_type.hpp>
#include <boost/serialization/is_bitwise_serializable.hpp>
#include <boost/serialization/item_version_type.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/serialization.hpp>
#include <boost/serialization/singleton.hpp>
#include <boost/serialization/version.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <vector>

class CBinaryOutArchive : public boost::archive::binary_oarchive_impl<CBinaryOutArchive, char, std::char_traits<char>>
{
    using Base = boost::archive::binary_oarchive_impl<CBinaryOutArchive, char, std::char_traits<char>>;
    friend class boost::archive::detail::interface_oarchive<CBinaryOutArchive>;
    friend class boost::archive::basic_binary_oarchive<CBinaryOutArchive>;
    friend class boost::archive::save_access;

public:
    // Writes the archive's header into the buffer.
    explicit CBinaryOutArchive(CArchiveOutBuffer& buffer);
    ~CBinaryOutArchive() override;

    // Called by the archive library (these stand in for the library's own bookkeeping).
    void register_basic_serializer(const boost::archive::detail::basic_oserializer& bos);
    void save_object(const void* x, const boost::archive::detail::basic_oserializer& bos);
    void save_pointer(const void* t, const boost::archive::detail::basic_pointer_oserializer* bpos);
    void end_preamble() {}

    using Base::save;
    // A value as its bytes (the library copies the same bytes, through a virtual call each).
    template <class T>
    void save(const T& t)
    {
        m_Buffer.Put(&t, sizeof(T));
    }

    // Values in a row as their bytes, as one save each would write them, with one look at the
    // buffer's room.
    template <class... T>
    void SaveValues(const T&... values)
    {
        if (char* at = m_Buffer.Take((sizeof(T) + ...)))
            ((std::memcpy(at, &values, sizeof(T)), at += sizeof(T)), ...);
        else
            (save(values), ...);
    }

    // A vector, as `*this << items` writes it: its class information, its count, its items'
    // version, then each item through its own serialize function. The classes are looked up once
    // for the list, not once an item, and no virtual call is made for an item: an envelope's
    // points are most of a case's bytes.
    template <class T>
    void SaveVector(const std::vector<T>& items)
    {
        static_assert(!boost::serialization::is_bitwise_serializable<T>::value, "written as an array by the library");
        using boost::archive::detail::oserializer;
        const boost::archive::detail::basic_oserializer& listClass =
            boost::serialization::singleton<oserializer<CBinaryOutArchive, std::vector<T>>>::get_const_instance();
        ClassRecord& listRecord = Register(listClass);
        if (listRecord.bTracking) // a list also stored through pointers takes an object id
        {
            save_object(&items, listClass);
            return;
        }
        WriteClassInfo(listRecord, listClass);
        const boost::serialization::collection_size_type count(items.size());
        *this << BOOST_SERIALIZATION_NVP(count);
        const boost::serialization::item_version_type item_version(boost::serialization::version<T>::value);
        *this << BOOST_SERIALIZATION_NVP(item_version);
        if (items.empty()) return; // the item class is not met, so takes no class id
        const boost::archive::detail::basic_oserializer& itemClass =
            boost::serialization::singleton<oserializer<CBinaryOutArchive, T>>::get_const_instance();
        ClassRecord& itemRecord = Register(itemClass);
        if (itemRecord.bTracking)
        {
            for (const T& item : items) save_object(&item, itemClass);
            return;
        }
        WriteClassInfo(itemRecord, itemClass);
        const unsigned int version = itemClass.version();
        for (const T& item : items) boost::serialization::serialize_adl(*this, const_cast<T&>(item), version);
    }

    // A counted pointer to p, as `*this << std::shared_ptr<T>` writes it, without one being made.
    template <class T>
    void SaveAsCountedPointer(const T* p)
    {
        // The object just written through the same pointer: the counted pointer's class is in the
        // file, so only the references to the pointee's class and to the object follow.
        if (p && p == m_pLastCounted && m_LastPointee.address == p && m_LastPointee.classId == m_nLastCountedClass)
        {
            SaveValues(boost::archive::class_id_reference_type(boost::archive::class_id_type(m_nLastCountedClass)),
                       boost::archive::object_reference_type(boost::archive::object_id_type(m_nLastPointeeId)));
            return;
        }
        const boost::archive::detail::basic_oserializer& counted = boost::serialization::singleton<
            boost::archive::detail::oserializer<CBinaryOutArchive, std::shared_ptr<T>>>::get_const_instance();
        WriteClassInfo(Register(counted), counted); // counted pointers are never tracked
        *this << boost::serialization::make_nvp("px", p);
        m_pLastCounted = p;
        m_nLastCountedClass = m_LastPointee.classId;
    }

protected:
    using Base::save_override;
    // A pointer to an object of exactly the pointer's class needs no look-up of its true type.
    template <class T>
    void save_override(T* const& t)
    {
        using Plain = std::remove_cv_t<T>;
        if constexpr (std::is_polymorphic_v<Plain> && !boost::serialization::is_abstract<Plain>::value)
        {
            if (t && typeid(*t) == typeid(Plain))
            {
                const boost::archive::detail::basic_pointer_oserializer& bpos = boost::serialization::singleton<
                    boost::archive::detail::pointer_oserializer<CBinaryOutArchive, Plain>>::get_const_instance();
                // Registered first, as the library does: a class met as itself is not named.
                const boost::archive::detail::basic_oserializer& bos = bpos.get_basic_serializer();
                SavePointer(static_cast<const void*>(t), bpos, bos, Register(bos), false);
                return;
            }
        }
        Base::save_override(t);
    }

private:
    struct ClassRecord
    {
        int id = 0;
        bool bInitialized = false; // its class id (and record) is in the file
        bool bTracking = false;
    };
    // The class's record; *pbNew tells whether the class was met for the first time.
    ClassRecord& Register(const boost::archive::detail::basic_oserializer& bos, bool* pbNew = nullptr)
    {
        // Runs of one class (the points of an envelope) and the few classes each point goes
        // through come back to a record just used.
        for (std::size_t i = 0; i < kRecentClasses; ++i)
        {
            if (m_RecentClass[i] == &bos)
            {
                if (pbNew) *pbNew = false;
                return *m_RecentRecord[i];
            }
        }
        return RegisterInTable(bos, pbNew);
    }
    ClassRecord& RegisterInTable(const boost::archive::detail::basic_oserializer& bos, bool* pbNew);
    // The first object of a class that carries class information writes that information.
    void WriteClassInfo(ClassRecord& record, const boost::archive::detail::basic_oserializer& bos)
    {
        if (record.bInitialized || !bos.class_info()) return;
        *this << boost::archive::class_id_optional_type(boost::archive::class_id_type(record.id));
        *this << boost::archive::tracking_type(record.bTracking);
        *this << boost::archive::version_type(bos.version());
        record.bInitialized = true;
    }
    // Writes the pointer t to an object of the class of bpos (its serializer bos), registered as
    // record (bNewClass: registered by this pointer).
    void SavePointer(const void* t, const boost::archive::detail::basic_pointer_oserializer& bpos,
                     const boost::archive::detail::basic_oserializer& bos, ClassRecord& record, bool bNewClass);

    struct ObjectKey
    {
        const void* address;
        int classId;
        bool operator==(const ObjectKey& other) const = default;
    };
    struct ObjectKeyHash
    {
        std::size_t operator()(const ObjectKey& k) const
        {
            return std::hash<const void*>()(k.address) ^ (static_cast<std::size_t>(k.classId) << 1);
        }
    };

    CArchiveOutBuffer& m_Buffer;
    std::unordered_map<const boost::archive::detail::basic_oserializer*, ClassRecord> m_Classes;
    // The classes met last (an envelope point, its counted pointer and the load model take turns),
    // replaced in turn; the records stay where they are in the table.
    static constexpr std::size_t kRecentClasses = 4;
    const boost::archive::detail::basic_oserializer* m_RecentClass[kRecentClasses] = {};
    ClassRecord* m_RecentRecord[kRecentClasses] = {};
    std::size_t m_nNextRecent = 0;
    std::unordered_map<ObjectKey, std::uint32_t, ObjectKeyHash> m_Objects;
    // The object a pointer referred to last (the points of an envelope share one load model).
    ObjectKey m_LastPointee{nullptr, -1};
    std::uint32_t m_nLastPointeeId = 0;
    // The pointee of the last counted pointer written, and its class id.
    const void* m_pLastCounted = nullptr;
    int m_nLastCountedClass = -1;
    std::vector<bool> m_StoredByPointer; // by object id
    // The object a pointer save is writing: its own save_object writes the data only.
    const void* m_pPendingObject = nullptr;
    const boost::archive::detail::basic_oserializer* m_pPendingClass = nullptr;
};

BOOST_SERIALIZATION_REGISTER_ARCHIVE(CBinaryOutArchive)
BOOST_SERIALIZATION_USE_ARRAY_OPTIMIZATION(CBinaryOutArchive)
