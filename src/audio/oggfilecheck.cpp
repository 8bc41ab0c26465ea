#include "audio/oggfilecheck.h"

#include <ogg/ogg.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "audio/vorbissetup.h"

namespace {

// Far beyond an hour of music at the codec's highest rates.
const uint64_t kMaxFileBytes = uint64_t(256) << 20;
const char kCapture[] = "OggS";
const size_t kFixedHeaderBytes = 27;
const size_t kMaxHeaderBytes = kFixedHeaderBytes + 255;
// Streams whose headers are read at the same time; real files interleave a handful at most.
const size_t kMaxOpenStreams = 16;

using Bytes = std::vector<unsigned char>;

// The size in 64 bits: a stat's 32-bit size on Windows would let a 4 GiB file pass as small.
bool readFile(const std::string& path, Bytes& bytes, std::string& problem) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        problem = error.message();
        return false;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        problem = "it is not a regular file";
        return false;
    }
    uint64_t size = std::filesystem::file_size(path, error);
    if (error) {
        problem = error.message();
        return false;
    }
    if (size > kMaxFileBytes) {
        problem = "it is larger than 256 MiB";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        problem = "it cannot be read";
        return false;
    }
    return true;
}

// The length of the whole page with a correct checksum that starts at `at`, or 0. `page` then
// points at `header` (a copy) and at the body in `file`.
size_t pageAt(const Bytes& file, size_t at, ogg_page& page, unsigned char* header) {
    size_t left = file.size() - at;
    if (left < kFixedHeaderBytes) return 0;
    size_t headerBytes = kFixedHeaderBytes + file[at + 26];
    if (left < headerBytes) return 0;
    size_t bodyBytes = 0;
    for (size_t i = kFixedHeaderBytes; i < headerBytes; ++i) bodyBytes += file[at + i];
    if (left - headerBytes < bodyBytes) return 0;
    std::memcpy(header, &file[at], headerBytes);
    page.header = header;
    page.header_len = static_cast<long>(headerBytes);
    page.body = const_cast<unsigned char*>(&file[at + headerBytes]);
    page.body_len = static_cast<long>(bodyBytes);
    ogg_page_checksum_set(&page);
    if (std::memcmp(header + 22, &file[at + 22], 4) != 0) return 0;
    return headerBytes + bodyBytes;
}

// The first three packets of one logical stream, taken from its first page on.
class StreamHeaders {
public:
    explicit StreamHeaders(int serial) { ogg_stream_init(&stream, serial); }
    ~StreamHeaders() { ogg_stream_clear(&stream); }
    StreamHeaders(const StreamHeaders&) = delete;
    StreamHeaders& operator=(const StreamHeaders&) = delete;

    ogg_stream_state stream;
    int taken = 0;
};

using OpenStreams = std::map<int, std::unique_ptr<StreamHeaders>>;
// Vorbis streams whose last page has not been seen.
using Unended = std::set<int>;

bool isVorbisIdentification(const unsigned char* packet, long bytes) {
    return bytes >= 7 && packet[0] == 1 && std::memcmp(packet + 1, "vorbis", 6) == 0;
}

// Where a page may stand. Chained parts follow one another whole: once a part has begun after
// pages of data, no page of an earlier part may come. Within a part every page belongs to a stream
// that began with its first page, and a stream's pages come in rising order, none after its last.
// A page out of place sends the decoding library, reading on or seeking, into moving a negative
// number of bytes. Each part must also begin a Vorbis stream, once one part does: the library
// refuses a file with a part that does not, but loses the headers of the parts before it.
class PageOrder {
public:
    // Null when the page may stand here, else why not.
    const char* misplaced(ogg_page& page) {
        int serial = ogg_page_serialno(&page);
        long sequence = ogg_page_pageno(&page);
        if (ogg_page_bos(&page)) {
            if (dataSeen) {
                for (const auto& stream : current) earlier.insert(stream.first);
                current.clear();
                endPart();
            } else if (current.count(serial) != 0) {
                // The library gives up on a part whose first pages repeat a stream, and loses
                // the parts it read before.
                return "one of its streams begins twice";
            }
            // The library knows a Vorbis stream only by a first page that holds its first packet.
            if (isVorbisIdentification(page.body, page.body_len)) partHasVorbis = true;
            dataSeen = false;
            earlier.erase(serial);
            current[serial] = {sequence, ogg_page_eos(&page) != 0};
            return nullptr;
        }
        dataSeen = true;
        if (earlier.count(serial) != 0)
            return "a page of one of its parts comes after the next part began";
        auto found = current.find(serial);
        if (found == current.end()) return "a page belongs to no stream that began";
        if (found->second.ended || sequence <= found->second.lastSequence)
            return "the pages of one of its streams come out of order";
        found->second = {sequence, ogg_page_eos(&page) != 0};
        return nullptr;
    }

    // Null unless a part without a Vorbis stream stands beside one with; asked once, at the end.
    const char* partWithoutVorbis() {
        endPart();
        return vorbisParts && bareParts ? "one of its parts holds no Vorbis stream" : nullptr;
    }

private:
    // Past a file with no first page this counts a part that never began: harmless, no Vorbis
    // part stands beside it.
    void endPart() {
        (partHasVorbis ? vorbisParts : bareParts) = true;
        partHasVorbis = false;
    }

    struct Stream {
        long lastSequence;
        bool ended;
    };
    std::map<int, Stream> current;  // the streams of the part being read
    std::set<int> earlier;          // those of the parts before it
    bool dataSeen = false;
    bool partHasVorbis = false;
    bool vorbisParts = false, bareParts = false;  // whether any part seen so far is of each kind
};

enum class Verdict { More, Done, Refused };

// Header packets in order: the first tells whether the stream is Vorbis, the third is its setup.
Verdict takePacket(StreamHeaders& headers, const ogg_packet& packet, std::string& problem) {
    int index = headers.taken++;
    if (index == 0)
        return isVorbisIdentification(packet.packet, packet.bytes) ? Verdict::More : Verdict::Done;
    if (index == 1) return Verdict::More;
    bool passed = CVorbisSetup::check(packet.packet, static_cast<size_t>(packet.bytes), problem);
    return passed ? Verdict::Done : Verdict::Refused;
}

// Feeds one page to its stream; a stream is let go once its setup header passed or its first
// packet shows it is not Vorbis.
bool takePage(ogg_page& page, OpenStreams& open, Unended& unended, std::string& problem) {
    int serial = ogg_page_serialno(&page);
    if (ogg_page_bos(&page)) {
        if (open.size() >= kMaxOpenStreams && open.count(serial) == 0) {
            problem = "it starts too many streams at once";
            return false;
        }
        open[serial] = std::make_unique<StreamHeaders>(serial);
    }
    auto found = open.find(serial);
    if (found == open.end() || ogg_stream_pagein(&found->second->stream, &page) != 0) return true;
    Verdict verdict = Verdict::More;
    while (verdict == Verdict::More) {
        ogg_packet packet;
        int got = ogg_stream_packetout(&found->second->stream, &packet);
        if (got == 0) return true;
        if (got < 0) {
            problem = "the headers of one of its streams are damaged";
            return false;
        }
        verdict = takePacket(*found->second, packet, problem);
        if (found->second->taken == 1 && verdict == Verdict::More) unended.insert(serial);
    }
    if (verdict == Verdict::Refused) return false;
    open.erase(found);
    return true;
}

}  // namespace

bool COggFileCheck::check(const std::string& path, std::string& problem) {
    Bytes file;
    if (!readFile(path, file, problem)) return false;
    OpenStreams open;
    Unended unended;
    PageOrder order;
    unsigned char header[kMaxHeaderBytes];
    size_t end = 0;  // where the last page found ends
    auto next = [&](size_t from) {
        return static_cast<size_t>(
            std::search(file.begin() + from, file.end(), kCapture, kCapture + 4) - file.begin());
    };
    for (size_t at = next(0); at < file.size(); at = next(at + 1)) {
        ogg_page page;
        size_t length = pageAt(file, at, page, header);
        if (length == 0) continue;
        // The library, seeking, could land inside the outer page and read this one.
        if (at < end) {
            problem = "a page hides inside another page";
            return false;
        }
        if (const char* misplaced = order.misplaced(page)) {
            problem = misplaced;
            return false;
        }
        if (!takePage(page, open, unended, problem)) return false;
        if (ogg_page_eos(&page)) unended.erase(ogg_page_serialno(&page));
        end = at + length;
    }
    if (const char* mixed = order.partWithoutVorbis()) {
        problem = mixed;
        return false;
    }
    for (const auto& stream : open) {
        if (stream.second->taken > 0) {
            problem = "the headers of one of its streams are cut short";
            return false;
        }
    }
    // A file cut short would play only up to the cut and then fall silent without a word.
    if (!unended.empty()) {
        problem = "it is cut short: one of its Vorbis streams never ends";
        return false;
    }
    return true;
}
