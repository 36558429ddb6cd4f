// The XML input archive of settings and case files: the library's XML archive with our
// checks (see CheckedInArchive.h), wide text read through our own UTF-8 decoding, end tags
// matched safely, and the closing element read by Finish() rather than by a destructor.
//
//     CXmlInArchive ar(text);                       // the whole file; throws if it is not one
//     ar >> boost::serialization::make_nvp("QORConfig", data);
//     ar.Finish();                                  // the archive's closing element
//
// Every failure is a std::exception (mostly boost::archive::archive_exception) thrown from the
// constructor, a load or Finish; the destructor never throws.
#pragma once

#include "engine/archive/CheckedInArchive.h"

#include <boost/archive/xml_iarchive.hpp>
#include <boost/utility/base_from_member.hpp>

#include <cstddef>
#include <sstream>
#include <string>

// The stream comes first (base_from_member) so that it exists when the library's part is made.
class CXmlInArchive : private boost::base_from_member<std::istringstream>,
                      public CCheckedInArchive<CXmlInArchive, boost::archive::xml_iarchive_impl<CXmlInArchive>>
{
    using Stream = boost::base_from_member<std::istringstream>;
    using Checked = CCheckedInArchive<CXmlInArchive, boost::archive::xml_iarchive_impl<CXmlInArchive>>;
    friend Checked;

public:
    // Takes the whole text of the file. A text that does not end with the archive's closing
    // element (a file cut short) is refused at once; the header is read here.
    explicit CXmlInArchive(std::string text);
    ~CXmlInArchive() override;

    // Reads the archive's closing element; call after the last item.
    void Finish();

    // Called by the archive library.
    using Checked::load;
    void load(std::wstring& ws);
    void load_end(const char* name);

    std::size_t BytesLeft();
    static constexpr std::size_t kMinBytesPerItem = sizeof("<item></item>") - 1;

    // The line (from 1) of the last text read: after a failure, the line of what could not be read
    // (the library reads past the blanks that follow a tag).
    std::size_t Line();
};

BOOST_SERIALIZATION_REGISTER_ARCHIVE(CXmlInArchive)

// Strict UTF-8 to wide text: false for a malformed sequence, an encoded surrogate or a NUL
// character (which the archive library's own conversion would loop on).
bool DecodeUtf8Text(const std::string& in, std::wstring& out);

// Shared pointers read through the archive's own table (found by argument-dependent lookup
// before the library's general form, which it stands in for).
template <class T>
void load(CXmlInArchive& ar, std::shared_ptr<T>& t, const unsigned int /*version*/)
{
    ar.LoadShared(t);
}
