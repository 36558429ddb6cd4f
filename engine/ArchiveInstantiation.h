// Explicit instantiation of a class's serialize member for every archive the program
// reads and writes: XML, text and binary, in both directions, our own checked input
// archives (which read settings and case files) and our own output archives (which write case
// files). Include this header in the .cpp that defines the serialize template, before any
// BOOST_CLASS_EXPORT_IMPLEMENT, and write QOR_INSTANTIATE_SERIALIZE(CClass) after that
// definition.
#pragma once

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <boost/archive/text_iarchive.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>

#include "engine/archive/BinaryInArchive.h"
#include "engine/archive/BinaryOutArchive.h"
#include "engine/archive/XmlInArchive.h"
#include "engine/archive/XmlOutArchive.h"

#define QOR_INSTANTIATE_SERIALIZE(T)                                                                                   \
    template void T::serialize(boost::archive::xml_oarchive&, const unsigned int);                                     \
    template void T::serialize(boost::archive::xml_iarchive&, const unsigned int);                                     \
    template void T::serialize(boost::archive::text_oarchive&, const unsigned int);                                    \
    template void T::serialize(boost::archive::text_iarchive&, const unsigned int);                                    \
    template void T::serialize(boost::archive::binary_oarchive&, const unsigned int);                                  \
    template void T::serialize(boost::archive::binary_iarchive&, const unsigned int);                                  \
    template void T::serialize(CXmlInArchive&, const unsigned int);                                                    \
    template void T::serialize(CBinaryInArchive&, const unsigned int);                                                 \
    template void T::serialize(CBinaryOutArchive&, const unsigned int);                                                \
    template void T::serialize(CXmlOutArchive&, const unsigned int);
