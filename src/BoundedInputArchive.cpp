// The bounded binary input archive, and boost's archive templates instantiated for it.
#include "BoundedInputArchive.h"

#include "RegularFile.h"

#include <boost/archive/detail/archive_serializer_map.hpp>
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_binary_iarchive.ipp>
#include <boost/archive/impl/basic_binary_iprimitive.ipp>

#include <stdexcept>

namespace boost::archive
{
template class detail::archive_serializer_map<BoundedInputArchive>;
template class basic_binary_iprimitive<BoundedInputArchive, char, std::char_traits<char>>;
template class basic_binary_iarchive<BoundedInputArchive>;
template class binary_iarchive_impl<BoundedInputArchive, char, std::char_traits<char>>;
}  // namespace boost::archive

namespace
{
[[noreturn]] void refuse(const char* what)
{
    throw std::runtime_error(what);
}
}  // namespace

bounded_archive_detail::ByteSource::ByteSource(const std::string& bytes)
{
    char* begin = const_cast<char*>(bytes.data());  // only ever read
    setg(begin, begin, begin + bytes.size());
}

BoundedInputArchive::BoundedInputArchive(const std::string& bytes) : HoldsByteSource(bytes), Base(source, 0)
{
    init(0);
}

void BoundedInputArchive::load_override(boost::serialization::collection_size_type& count)
{
    Base::load_override(count);
    if (count > remainingBytes() / kMinElementBytes)
        refuse("a count larger than the rest of the file");
}

void BoundedInputArchive::load_override(boost::archive::class_id_type& id)
{
    Base::load_override(id);
    // The top-level pointer comes first: no class is known yet, so it is the first (0) or none.
    const bool valid =
        expectingTopPointer && (id == boost::archive::class_id_type(0) || id == BOOST_SERIALIZATION_NULL_POINTER_TAG);
    expectingTopPointer = false;
    if (!valid)
        refuse("a class the file does not describe");
}

void BoundedInputArchive::load(std::string& text)
{
    std::size_t length = 0;
    load(length);
    if (length > remainingBytes())
        refuse("a text longer than the rest of the file");
    text.resize(length);
    if (length > 0)
        load_binary(text.data(), length);
}

void BoundedInputArchive::load(bool& flag)
{
    unsigned char byte = 0;
    load_binary(&byte, 1);
    if (byte > 1)
        refuse("a truth value other than 0 or 1");
    flag = byte == 1;
}

bool BoundedInputArchive::readFile(const std::string& path, std::string& bytes, std::string& error)
{
    return readRegularFile(path, kMaxFileBytes, bytes, error);
}
