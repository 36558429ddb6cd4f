// The binary output archive of case files.
//
// The bookkeeping below follows the library's own (its basic_oarchive): a class takes the next
// class id when first met; the first object of a class that carries class information writes
// that information; a tracked object takes the next object id when first met and is written as
// a reference to it afterwards; a pointer writes its class id (with the class's record the first
// time), then the object's id and the object, or a reference to an object already written.

#include "engine/archive/BinaryOutArchive.h"

// The library's templates, instantiated for our archive.
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_binary_oarchive.ipp>
#include <boost/archive/impl/basic_binary_oprimitive.ipp>

#include <boost/archive/archive_exception.hpp>
#include <boost/serialization/extended_type_info.hpp>
#include <boost/serialization/state_saver.hpp>

#include <cstring>

namespace boost {
namespace archive {
template class basic_binary_oprimitive<CBinaryOutArchive, char, std::char_traits<char>>;
template class basic_binary_oarchive<CBinaryOutArchive>;
template class binary_oarchive_impl<CBinaryOutArchive, char, std::char_traits<char>>;
template class detail::archive_serializer_map<CBinaryOutArchive>;
} // namespace archive
} // namespace boost

using boost::archive::archive_exception;
using boost::archive::detail::basic_oserializer;
using boost::archive::detail::basic_pointer_oserializer;

CBinaryOutArchive::CBinaryOutArchive(CArchiveOutBuffer& buffer) : Base(buffer, 0u), m_Buffer(buffer)
{
    init(0u); // the archive's header
}

CBinaryOutArchive::~CBinaryOutArchive() = default;

CBinaryOutArchive::ClassRecord& CBinaryOutArchive::RegisterInTable(const basic_oserializer& bos, bool* pbNew)
{
    auto [it, bNew] = m_Classes.try_emplace(&bos);
    if (bNew)
    {
        it->second.id = static_cast<int>(m_Classes.size() - 1);
        it->second.bTracking = bos.tracking(get_flags());
    }
    if (pbNew) *pbNew = bNew;
    m_RecentClass[m_nNextRecent] = &bos;
    m_RecentRecord[m_nNextRecent] = &it->second;
    m_nNextRecent = (m_nNextRecent + 1) % kRecentClasses;
    return it->second;
}

void CBinaryOutArchive::register_basic_serializer(const basic_oserializer& bos) { Register(bos); }

void CBinaryOutArchive::save_object(const void* x, const basic_oserializer& bos)
{
    // The object a pointer has just introduced: its preamble is written.
    if (x == m_pPendingObject && &bos == m_pPendingClass)
    {
        bos.save_object_data(*this, x);
        return;
    }
    ClassRecord& record = Register(bos);
    WriteClassInfo(record, bos);
    if (!record.bTracking)
    {
        bos.save_object_data(*this, x);
        return;
    }
    const auto [it, bNew] =
        m_Objects.try_emplace(ObjectKey{x, record.id}, static_cast<std::uint32_t>(m_Objects.size()));
    const std::uint32_t oid = it->second;
    if (bNew)
    {
        m_StoredByPointer.push_back(false);
        *this << boost::archive::object_id_type(oid);
        bos.save_object_data(*this, x);
        return;
    }
    // An object written through a pointer cannot be written again as itself: a load would make two.
    if (m_StoredByPointer[oid]) throw archive_exception(archive_exception::pointer_conflict);
    *this << boost::archive::object_reference_type(boost::archive::object_id_type(oid));
}

void CBinaryOutArchive::save_pointer(const void* t, const basic_pointer_oserializer* bpos)
{
    const basic_oserializer& bos = bpos->get_basic_serializer();
    bool bNewClass = false;
    ClassRecord& record = Register(bos, &bNewClass);
    SavePointer(t, *bpos, bos, record, bNewClass);
}

void CBinaryOutArchive::SavePointer(const void* t, const basic_pointer_oserializer& bpos, const basic_oserializer& bos,
                                    ClassRecord& record, bool bNewClass)
{
    if (!record.bInitialized)
    {
        *this << boost::archive::class_id_type(record.id);
        // A class first met here, through a pointer to a base, is named so a load can make it.
        if (bNewClass && bos.is_polymorphic())
        {
            const boost::serialization::extended_type_info* eti = &bos.get_eti();
            const char* key = eti ? eti->get_key() : nullptr;
            if (!key) throw archive_exception(archive_exception::unregistered_class);
            if (std::strlen(key) > BOOST_SERIALIZATION_MAX_KEY_SIZE - 1)
                throw archive_exception(archive_exception::invalid_class_name);
            *this << boost::archive::class_name_type(key);
        }
        if (bos.class_info())
        {
            *this << boost::archive::tracking_type(record.bTracking);
            *this << boost::archive::version_type(bos.version());
        }
        record.bInitialized = true;
    }
    else
    {
        *this << boost::archive::class_id_reference_type(boost::archive::class_id_type(record.id));
    }

    std::uint32_t newId = 0;
    if (record.bTracking)
    {
        const ObjectKey key{t, record.id};
        if (key == m_LastPointee)
        {
            *this << boost::archive::object_reference_type(boost::archive::object_id_type(m_nLastPointeeId));
            return;
        }
        const auto [it, bNew] = m_Objects.try_emplace(key, static_cast<std::uint32_t>(m_Objects.size()));
        const std::uint32_t oid = it->second;
        m_LastPointee = key;
        m_nLastPointeeId = oid;
        if (!bNew)
        {
            *this << boost::archive::object_reference_type(boost::archive::object_id_type(oid));
            return;
        }
        m_StoredByPointer.push_back(false);
        *this << boost::archive::object_id_type(oid);
        newId = oid;
    }
    {
        boost::serialization::state_saver<const void*> pendingObject(m_pPendingObject);
        boost::serialization::state_saver<const basic_oserializer*> pendingClass(m_pPendingClass);
        m_pPendingObject = t;
        m_pPendingClass = &bos;
        bpos.save_object_ptr(*this, t);
    }
    if (record.bTracking) m_StoredByPointer[newId] = true;
}
