// boost.serialization's binary input archive, made safe for files from outside the game: the
// size of every collection and the length of every string read back is checked against the
// bytes left in the file before anything is sized by it, so a damaged or hostile file is
// refused with an exception instead of asking for gigabytes. The rest is boost's own reading
// of its own form, which throws boost's archive_exception for what it finds wrong.
#pragma once

#include <boost/archive/binary_iarchive_impl.hpp>
#include <boost/archive/detail/register_archive.hpp>
#include <boost/serialization/array_optimization.hpp>
#include <boost/serialization/collection_size_type.hpp>

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string>
#include <type_traits>

namespace bounded_archive_detail
{
// The file's bytes as the archive's stream, which knows how many are left.
class ByteSource : public std::streambuf
{
public:
    explicit ByteSource(const std::string& bytes);
    std::size_t remaining() const { return static_cast<std::size_t>(egptr() - gptr()); }
};

// A base of the archive, so that the stream exists before boost's bases are handed it.
struct HoldsByteSource
{
    explicit HoldsByteSource(const std::string& bytes) : source(bytes) {}
    ByteSource source;
};
}  // namespace bounded_archive_detail

class BoundedInputArchive
    : private bounded_archive_detail::HoldsByteSource,
      public boost::archive::binary_iarchive_impl<BoundedInputArchive, char, std::char_traits<char>>
{
public:
    // The largest archive file the game reads: an hour's ghost recording is about 12 MB.
    static constexpr std::size_t kMaxFileBytes = 64u << 20;
    // The fewest bytes an element of the game's collections takes in the file (a long, a
    // string's length, a map's count): a count of more than the rest of the file holds is a lie.
    static constexpr std::size_t kMinElementBytes = 8;

    // Reads boost's archive header at once (archive flags 0) and throws when the bytes do not
    // start with one. The bytes must outlive the archive.
    explicit BoundedInputArchive(const std::string& bytes);

    // Bytes not read yet: a whole file leaves none.
    std::size_t remainingBytes() const { return source.remaining(); }

    // Reads the file's one object stored through a pointer, before anything else; null for a
    // null pointer. (Boost indexes its tables by the class ids a file gives for pointers, so
    // the only ones taken are those such a file can hold.) Boost hands the new
    // object over before it reads it, and leaves it to the caller when the file turns out
    // damaged half way: it is freed here.
    template <class T>
    std::unique_ptr<T> loadPointer()
    {
        // Constructed before anything is read, so whatever fails later, it can be deleted.
        static_assert(std::is_nothrow_default_constructible_v<T>);
        T* object = nullptr;
        try
        {
            expectingTopPointer = true;
            *this >> object;
        }
        catch (...)
        {
            delete object;
            throw;
        }
        return std::unique_ptr<T>(object);
    }

    // Reads a whole regular file of at most kMaxFileBytes; false with the reason (which does
    // not repeat the path).
    static bool readFile(const std::string& path, std::string& bytes, std::string& error);

private:
    using Base = boost::archive::binary_iarchive_impl<BoundedInputArchive, char, std::char_traits<char>>;
    friend class boost::archive::detail::interface_iarchive<BoundedInputArchive>;
    friend class boost::archive::basic_binary_iarchive<BoundedInputArchive>;
    friend class boost::archive::basic_binary_iprimitive<BoundedInputArchive, char, std::char_traits<char>>;
    friend class boost::archive::load_access;

    template <class T>
    void load_override(T& value)
    {
        Base::load_override(value);
    }
    void load_override(boost::serialization::collection_size_type& count);
    void load_override(boost::archive::class_id_type& id);

    using Base::load;
    void load(std::string& text);
    // Boost only asserts that a stored truth value is 0 or 1.
    void load(bool& flag);

    bool expectingTopPointer = false;  // the next class id read is the top-level pointer's
};

BOOST_SERIALIZATION_REGISTER_ARCHIVE(BoundedInputArchive)
BOOST_SERIALIZATION_USE_ARRAY_OPTIMIZATION(BoundedInputArchive)
