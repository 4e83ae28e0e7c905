#include "res/avi_clip.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace {

// Larger frames are not a busy mark; the bound also keeps sizes far from overflow.
constexpr std::uint64_t kMaxSide = 4096;

struct BadClip {
  std::string reason;
};

[[noreturn]] void fail(std::string reason) { throw BadClip{std::move(reason)}; }

struct Chunk {
  std::string_view id;
  std::uint64_t header;  // offset of the chunk's id
  std::uint64_t data;    // offset of its data (for a LIST, of the list type)
  std::uint64_t size;    // bytes of data
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }

  // Every offset passed below has been checked against size() by the caller.
  std::string_view fourcc(std::uint64_t at) const {
    return {reinterpret_cast<const char*>(bytes_.data() + at), 4};
  }
  std::uint16_t u16(std::uint64_t at) const {
    return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
  }
  std::uint32_t u32(std::uint64_t at) const {
    return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
  }
  std::int32_t i32(std::uint64_t at) const {
    std::uint32_t v = u32(at);
    std::int32_t s;
    std::memcpy(&s, &v, sizeof s);
    return s;
  }

  // The chunks that fill [begin, end), which the caller knows lies in the clip.
  std::vector<Chunk> chunks(std::uint64_t begin, std::uint64_t end, std::string_view where) const {
    std::vector<Chunk> out;
    std::uint64_t pos = begin;
    while (pos < end) {
      if (end - pos < 8) fail("a chunk header is cut short in " + std::string(where));
      Chunk c{fourcc(pos), pos, pos + 8, u32(pos + 4)};
      if (c.size > end - c.data) {
        fail("chunk \"" + std::string(c.id) + "\" in " + std::string(where) + " runs past its end");
      }
      out.push_back(c);
      pos = c.data + c.size + (c.size & 1);  // chunks start on even offsets
    }
    return out;
  }

  std::string_view listType(const Chunk& c) const { return fourcc(c.data); }

 private:
  std::span<const std::uint8_t> bytes_;
};

const Chunk* findChunk(const std::vector<Chunk>& chunks, std::string_view id) {
  for (const Chunk& c : chunks) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const Chunk* findList(const Reader& r, const std::vector<Chunk>& chunks, std::string_view type) {
  for (const Chunk& c : chunks) {
    if (c.id == "LIST" && c.size >= 4 && r.listType(c) == type) return &c;
  }
  return nullptr;
}

std::vector<Chunk> listContent(const Reader& r, const Chunk& list) {
  return r.chunks(list.data + 4, list.data + list.size, "LIST \"" + std::string(r.listType(list)) + "\"");
}

const Chunk& required(const Chunk* c, std::string_view what, std::uint64_t minSize) {
  if (c == nullptr) fail("no " + std::string(what));
  if (c->size < minSize) fail(std::string(what) + " is too short");
  return *c;
}

struct VideoStream {
  Chunk strh;
  Chunk strf;
  int index = 0;  // the stream number that prefixes its chunk ids
};

VideoStream findVideoStream(const Reader& r, const std::vector<Chunk>& header) {
  int index = 0;
  for (const Chunk& c : header) {
    if (c.id != "LIST" || c.size < 4 || r.listType(c) != "strl") continue;
    const std::vector<Chunk> strl = listContent(r, c);
    const Chunk& strh = required(findChunk(strl, "strh"), "stream header", 56);
    if (r.fourcc(strh.data) == "vids") {
      return {strh, required(findChunk(strl, "strf"), "stream format", 40), index};
    }
    ++index;
  }
  fail("no video stream");
}

AviClip parse(const Reader& r) {
  if (r.size() < 12) fail("too short for a RIFF header");
  if (r.fourcc(0) != "RIFF") fail("not a RIFF file");
  if (r.fourcc(8) != "AVI ") fail("the RIFF form is not AVI");
  const std::uint64_t riffSize = r.u32(4);
  if (riffSize < 4 || riffSize > r.size() - 8) fail("the RIFF size does not fit the clip");

  const std::vector<Chunk> top = r.chunks(12, 8 + riffSize, "the RIFF form");
  const Chunk& hdrl = required(findList(r, top, "hdrl"), "header list", 4);
  const Chunk& movi = required(findList(r, top, "movi"), "frame list", 4);
  const Chunk* idx1 = findChunk(top, "idx1");

  const std::vector<Chunk> header = listContent(r, hdrl);
  const Chunk& avih = required(findChunk(header, "avih"), "main header", 56);
  const VideoStream video = findVideoStream(r, header);

  const std::uint64_t bih = video.strf.data;
  const std::uint32_t bihSize = r.u32(bih);
  if (bihSize < 40 || bihSize > video.strf.size) fail("the frame format header has a bad size");
  const std::int64_t width = r.i32(bih + 4);
  const std::int64_t height = r.i32(bih + 8);
  if (r.u16(bih + 12) != 1) fail("the frame format has more than one plane");
  if (r.u16(bih + 14) != 16) fail("the frames are not 16 bits a pixel");
  if (r.u32(bih + 16) != 0) fail("the frames are compressed");
  if (width <= 0 || height <= 0 || width > static_cast<std::int64_t>(kMaxSide) ||
      height > static_cast<std::int64_t>(kMaxSide)) {
    fail("the frame size is out of range");
  }
  if (r.u32(avih.data + 32) != width || r.u32(avih.data + 36) != height) {
    fail("the main header and the frame format disagree on the frame size");
  }

  AviClip clip;
  clip.width = static_cast<int>(width);
  clip.height = static_cast<int>(height);
  clip.microsecondsPerFrame = r.u32(avih.data);
  if (clip.microsecondsPerFrame == 0) {  // fall back on the stream's scale / rate
    const std::uint64_t scale = r.u32(video.strh.data + 20);
    const std::uint64_t rate = r.u32(video.strh.data + 24);
    const std::uint64_t us = rate == 0 ? 0 : scale * 1000000 / rate;
    if (us == 0 || us > UINT32_MAX) fail("the clip has no frame rate");
    clip.microsecondsPerFrame = static_cast<std::uint32_t>(us);
  }

  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 2 + 3) / 4 * 4;
  const std::uint64_t frameBytes = rowBytes * static_cast<std::uint64_t>(height);
  const std::string prefix{static_cast<char>('0' + video.index / 10 % 10),
                           static_cast<char>('0' + video.index % 10)};
  std::vector<const Chunk*> frames;
  const std::vector<Chunk> moviContent = listContent(r, movi);
  for (const Chunk& c : moviContent) {
    if (c.id.substr(0, 2) != prefix || (c.id.substr(2) != "db" && c.id.substr(2) != "dc")) continue;
    if (c.size != frameBytes) {
      fail("frame " + std::to_string(frames.size() + 1) + " has " + std::to_string(c.size) +
           " bytes, not " + std::to_string(frameBytes));
    }
    frames.push_back(&c);
  }
  const std::uint32_t announced = r.u32(avih.data + 16);
  if (frames.empty()) fail("the clip holds no frame");
  if (frames.size() != announced) {
    fail("the main header announces " + std::to_string(announced) + " frames, the clip holds " +
         std::to_string(frames.size()));
  }

  if (idx1 != nullptr) {  // when there is an index, it must name these frames
    if (idx1->size % 16 != 0) fail("the index size is not a whole number of entries");
    std::size_t k = 0;
    for (std::uint64_t e = idx1->data; e < idx1->data + idx1->size; e += 16) {
      const std::string_view id = r.fourcc(e);
      if (id.substr(0, 2) != prefix || (id.substr(2) != "db" && id.substr(2) != "dc")) continue;
      if (k == frames.size()) fail("the index names more frames than the clip holds");
      const std::uint64_t at = movi.data + r.u32(e + 8);  // counted from the list type
      if (at != frames[k]->header || r.u32(e + 12) != frameBytes) {
        fail("index entry " + std::to_string(k + 1) + " does not point at its frame");
      }
      ++k;
    }
    if (k != frames.size()) fail("the index names fewer frames than the clip holds");
  }

  // Stored bottom row first; handed out top row first.
  for (const Chunk* f : frames) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    for (std::int64_t y = 0; y < height; ++y) {
      const std::uint64_t row = f->data + static_cast<std::uint64_t>(height - 1 - y) * rowBytes;
      for (std::int64_t x = 0; x < width; ++x) {
        pixels[static_cast<std::size_t>(y * width + x)] =
            rgb555ToArgb(r.u16(row + static_cast<std::uint64_t>(x) * 2));
      }
    }
    clip.frames.push_back(std::move(pixels));
  }
  return clip;
}

}  // namespace

std::uint32_t rgb555ToArgb(std::uint16_t pixel) {
  auto widen = [](std::uint32_t five) { return five << 3 | five >> 2; };
  const std::uint32_t red = widen(pixel >> 10 & 0x1F);
  const std::uint32_t green = widen(pixel >> 5 & 0x1F);
  const std::uint32_t blue = widen(pixel & 0x1F);
  return 0xFF000000u | red << 16 | green << 8 | blue;
}

std::optional<AviClip> readAviClip(std::span<const std::uint8_t> bytes, std::string* error) {
  try {
    return parse(Reader(bytes));
  } catch (const BadClip& bad) {
    if (error != nullptr) *error = "malformed AVI clip: " + bad.reason;
    return std::nullopt;
  }
}
