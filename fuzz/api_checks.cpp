// A byte string read as a program of API calls, through the C++ exports and
// the C interface, on three handles plus the rejected handles 0, -1 and one
// already released.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "OrvJson.h"
#include "checks.h"
#include "orvjson_c.h"
#include "require.h"

namespace orvfuzz {
namespace {

// Reads the fuzzer's bytes as numbers and strings; zeros once they run out.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return size_ == 0; }
  std::uint8_t Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  template <typename T>
  T Raw() {
    T value{};
    unsigned char bytes[sizeof(T)];
    for (unsigned char& b : bytes) b = Byte();
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }
  std::string Text() {
    std::string text;
    for (std::size_t length = Byte() % 40; length > 0 && !empty(); --length) {
      text += static_cast<char>(Byte());
    }
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// How deeply a JSON text nests, counting brackets outside strings.
int NestingDepth(const std::string& text) {
  int depth = 0, deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

class Program {
 public:
  Program(const std::uint8_t* data, std::size_t size) : in_(data, size) {
    for (long& h : live_) h = Create();
    // Any later Create takes this slot again for a while: every check that
    // makes a document releases it before the next step.
    released_ = Create();
    Release(released_);
  }
  ~Program() {
    for (long h : live_) Release(h);
  }

  void Run() {
    for (int steps = 0; steps < 200 && !in_.empty(); ++steps) {
      Step();
      for (long h : live_) CheckInvariants(h);
    }
  }

 private:
  // Slots 0-2 are live handles, 3 is the handle 0, 4 the handle -1 and 5 a
  // released handle.
  long Handle(std::uint8_t slot) {
    switch (slot % 6) {
      case 3:
        return 0;
      case 4:
        return -1;
      case 5:
        return released_;
      default:
        return live_[slot % 6];
    }
  }
  long* HandleVariable(std::uint8_t slot) {
    spare_ = Handle(slot);
    return slot % 6 < 3 ? &live_[slot % 6] : &spare_;
  }
  // A handle every function refuses.
  bool Rejected(long h) const { return h <= 0 || h == released_; }

  void Step() {
    const std::uint8_t op = in_.Byte();
    const long h = Handle(in_.Byte());
    const std::string key = in_.Text();
    const char* k = key.c_str();
    long result = 0;
    switch (op % 31) {
      case 0:
        result = SetValue(h, k);
        break;
      case 1:
        result = SetValue(h, k, in_.Raw<int>());
        break;
      case 2:
        result = SetValue(h, k, in_.Raw<unsigned>());
        break;
      case 3:
        result = SetValue(h, k, (in_.Byte() & 1) != 0);
        break;
      case 4:
        result = SetValue(h, k, in_.Raw<float>());
        break;
      case 5:
        result = SetValue(h, k, in_.Raw<double>());
        break;
      case 6:
        result = SetValue(h, k, in_.Text().c_str());
        break;
      case 7:
        result = SetValue(h, k, in_.Text());
        break;
      case 8: {
        std::vector<unsigned char> v(in_.Byte() % 8, in_.Byte());
        result = SetValue(h, k, v);
        break;
      }
      case 9: {
        std::vector<short> v(in_.Byte() % 8, in_.Raw<short>());
        result = SetValue(h, k, v);
        break;
      }
      case 10: {
        std::vector<int> v(in_.Byte() % 8, in_.Raw<int>());
        result = SetValue(h, k, v);
        break;
      }
      case 11: {
        std::vector<double> v(in_.Byte() % 8, in_.Raw<double>());
        result = SetValue(h, k, v);
        break;
      }
      case 12: {
        std::vector<std::string> v(in_.Byte() % 8, in_.Text());
        result = SetValue(h, k, v);
        break;
      }
      case 13: {
        const std::uint8_t source = in_.Byte();
        if (!Small(Handle(source))) return;
        result = SetValue(h, k, source == 255 ? nullptr : static_cast<void*>(HandleVariable(source)));
        break;
      }
      case 14: {
        std::vector<void*> sources;
        for (int n = in_.Byte() % 4; n > 0; --n) {
          const std::uint8_t source = in_.Byte();
          if (!Small(Handle(source))) return;
          sources.push_back(HandleVariable(source));
        }
        result = SetValue(h, k, sources);
        break;
      }
      case 15:
        ReadKey(h, k);
        return;
      case 16:
        ReadKeyArrays(h, k);
        return;
      case 17: {
        long* target = HandleVariable(in_.Byte());
        result = GetValue(h, k, static_cast<void*>(target));
        if (result == 0) ORV_REQUIRE(!GetString(*target).empty());
        break;
      }
      case 18:
        ReadIndex(h, static_cast<int>(in_.Raw<short>()));
        return;
      case 19: {
        long* target = HandleVariable(in_.Byte());
        result = GetValue(h, static_cast<int>(in_.Byte()) - 2, static_cast<void*>(target));
        break;
      }
      case 20:
        result = Clear(h);
        break;
      case 21:
        result = LoadFromString(h, in_.Text());
        break;
      case 22:
        result = LoadFromString(h, GetString(Handle(in_.Byte())));
        break;
      case 23:
        CheckFileRoundTrip(h);
        return;
      case 24: {
        OrvVector tags;
        result = GetTagCollect(h, tags);
        break;
      }
      case 25:
        CheckCopy(h, Handle(in_.Byte()), Handle(in_.Byte()));
        return;
      case 26:
        result = Members(h);
        break;
      case 27:
        CheckCReads(h, key);
        return;
      case 28:
        CheckCText(h);
        return;
      case 29:
        CheckCAppend(h, key);
        return;
      default: {
        int type = 0;
        const int index = static_cast<int>(in_.Byte()) - 2;
        result = GetItemType(h, index, type);
        GetArryItemType(h, index, type);
        GetArryItemType(h, key, type);
        break;
      }
    }
    if (Rejected(h)) ORV_REQUIRE(result == -1);
  }

  // The C getters agree with the C++ ones on a key without NUL bytes, and
  // never write past the capacity they are given.
  void CheckCReads(long h, const std::string& key) {
    const std::size_t capacity = in_.Byte() % 24;
    std::vector<char> buffer(capacity + 8, '#');
    std::size_t length = 0;
    const std::int32_t got = orvjson_get_string(h, key.data(), key.size(), buffer.data(), capacity, &length);
    int32_t c = 7;
    const std::int32_t gotInt = orvjson_get_int(h, key.data(), key.size(), &c);
    for (std::size_t i = capacity + 1; i < buffer.size(); ++i) ORV_REQUIRE(buffer[i] == '#');
    if (Rejected(h)) {
      ORV_REQUIRE(got == ORVJSON_BAD_HANDLE && gotInt == ORVJSON_BAD_HANDLE && c == 7);
      return;
    }
    if (key.find('\0') != std::string::npos) return;
    int i = 7;
    ORV_REQUIRE(GetValue(h, key.c_str(), i) == 0);
    ORV_REQUIRE(gotInt == ORVJSON_OK ? c == i : i == 7);
    if (got == ORVJSON_OK) {
      ORV_REQUIRE(length <= capacity);
      ORV_REQUIRE(std::string(buffer.data(), length).c_str() == GetString(h, key));
    } else if (got == ORVJSON_BUFFER_TOO_SMALL) {
      ORV_REQUIRE(length > capacity && buffer[0] == '#');
    }
  }

  // The C text is GetString's, or too long for the buffer, or absent.
  void CheckCText(long h) {
    const std::size_t capacity = in_.Byte() % 2 == 0 ? 1u << 20 : in_.Byte();
    std::vector<char> buffer(capacity + 1);
    std::size_t length = 0;
    const std::int32_t got = orvjson_text(h, buffer.data(), capacity, &length);
    if (Rejected(h)) {
      ORV_REQUIRE(got == ORVJSON_BAD_HANDLE);
      return;
    }
    const std::string text = GetString(h);
    if (got == ORVJSON_OK) {
      ORV_REQUIRE(std::string(buffer.data(), length) == text);
    } else if (got == ORVJSON_BUFFER_TOO_SMALL) {
      ORV_REQUIRE(length == text.size() && length > capacity);
    } else {
      ORV_REQUIRE(got == ORVJSON_NO_TEXT && text.empty());
    }
  }

  // A member appended through the C interface, its key all its bytes, is the
  // last entry of the list, with its whole name.
  void CheckCAppend(long h, const std::string& key) {
    const std::string value = in_.Text();
    const std::int32_t got = orvjson_set_string(h, key.data(), key.size(), value.data(), value.size());
    if (Rejected(h)) {
      ORV_REQUIRE(got == ORVJSON_BAD_HANDLE);
      return;
    }
    std::size_t count = 0;
    ORV_REQUIRE(orvjson_members(h, &count) == ORVJSON_OK);
    if (got == ORVJSON_WRONG_KIND) return;  // not an object root
    ORV_REQUIRE(got == ORVJSON_OK && count > 0);
    std::vector<char> name(key.size() + 1);
    std::size_t length = 0;
    std::int32_t type = 0;
    ORV_REQUIRE(orvjson_tag_at(h, count - 1, name.data(), name.size(), &length, &type) == ORVJSON_OK);
    ORV_REQUIRE(std::string(name.data(), length) == key && type == ORVJSON_MEMBER_STRING);
  }

  void ReadKey(long h, const char* k) {
    int i = 7;
    unsigned u = 7;
    float f = 7;
    double d = 7;
    bool b = true;
    std::string s = "x";
    const long results = GetValue(h, k, i) + GetValue(h, k, u) + GetValue(h, k, f) + GetValue(h, k, d) +
                         GetValue(h, k, b) + GetValue(h, k, s) + GetIsNULL(h, k);
    if (Rejected(h)) ORV_REQUIRE(results == -7 && i == 7 && u == 7 && f == 7 && d == 7 && b && s == "x");
    ORV_REQUIRE(!Rejected(h) || GetString(h, k).empty());
  }

  void ReadKeyArrays(long h, const char* k) {
    std::vector<unsigned char> bytes;
    std::vector<short> shorts;
    std::vector<int> ints;
    std::vector<double> doubles;
    std::vector<std::string> strings;
    GetValue(h, k, bytes);
    GetValue(h, k, shorts);
    GetValue(h, k, ints);
    GetValue(h, k, doubles);
    GetValue(h, k, strings);
    if (Rejected(h)) ORV_REQUIRE(bytes.empty() && shorts.empty() && ints.empty() && doubles.empty() && strings.empty());
  }

  void ReadIndex(long h, int index) {
    short s = 0;
    int i = 0;
    float f = 0;
    double d = 0;
    bool b = false;
    std::string text;
    const long results = GetValue(h, index, s) + GetValue(h, index, i) + GetValue(h, index, f) + GetValue(h, index, d) +
                         GetValue(h, index, b) + GetValue(h, index, text) + GetIsNULL(h, index);
    if (Rejected(h) || index < 0 || index >= Members(h)) ORV_REQUIRE(results == -7);
  }

  void CheckFileRoundTrip(long h) {
    if (Rejected(h)) return;
    const std::string text = GetString(h);
    const std::string path = ScratchPath();
    const long written = WriteToFile(h, path);
    ORV_REQUIRE(written == ((text.empty() || text == "null") ? -1 : 0));
    if (written != 0) return;
    const long loaded = Create();
    int hasBom = -1;
    ORV_REQUIRE(LoadJsonFile(loaded, path.c_str(), hasBom) == 1 && hasBom == 0);
    ORV_REQUIRE(GetString(loaded) == text);
    Release(loaded);
  }

  // A member copied in and taken out again has the source's text.
  void CheckCopy(long into, long source, long target) {
    if (Rejected(into) || Rejected(source) || Rejected(target) || into == target || !Small(source)) return;
    const std::string key = "\x01copy" + std::to_string(copies_++);
    double probe = 0;
    if (GetValue(into, key.c_str(), probe) == 0) return;  // the input made a member of that name
    const std::string sourceText = GetString(source);
    const bool intoIsObject = GetString(into).rfind('{', 0) == 0;
    long sourceHandle = source;
    ORV_REQUIRE(SetValue(into, key.c_str(), static_cast<void*>(&sourceHandle)) == 0);
    if (!intoIsObject) return;
    long targetHandle = target;
    const long taken = GetValue(into, key.c_str(), static_cast<void*>(&targetHandle));
    const bool container = !sourceText.empty() && (sourceText[0] == '{' || sourceText[0] == '[');
    if (container && NestingDepth(sourceText) < 1000) {
      ORV_REQUIRE(taken == 0);
      ORV_REQUIRE(GetString(target) == sourceText);
      // Copies between objects are direct; they give what a copy through
      // text gives, kinds included.
      const long viaText = Create();
      ORV_REQUIRE(LoadFromString(viaText, sourceText) == 0);
      OrvVector direct, parsed;
      GetTagCollect(target, direct);
      GetTagCollect(viaText, parsed);
      Release(viaText);
      ORV_REQUIRE(direct.m_items.size() == parsed.m_items.size());
      for (std::size_t i = 0; i < direct.m_items.size(); ++i) {
        ORV_REQUIRE(direct.m_items[i].type == parsed.m_items[i].type);
      }
    } else {
      ORV_REQUIRE(taken == -1);  // the member is a scalar, or null for a source without text
    }
  }

  // Copies double a document that is put into itself, so they stop at a size.
  static bool Small(long h) { return GetString(h).size() < (1u << 16); }

  static void CheckInvariants(long h) {
    OrvVector tags;
    ORV_REQUIRE(GetTagCollect(h, tags) == Members(h));
    ORV_REQUIRE(tags.m_items.size() == static_cast<std::size_t>(Members(h)));
    const std::string text = GetString(h);
    if (text.empty()) return;  // holds NaN or infinity
    const long again = Create();
    ORV_REQUIRE(LoadFromString(again, text) == 0);
    ORV_REQUIRE(GetString(again) == text);
    Release(again);
  }

  ByteReader in_;
  long live_[3];
  long released_ = 0;
  long spare_ = 0;
  int copies_ = 0;
};

}  // namespace

void CheckApiSequence(const std::uint8_t* data, std::size_t size) { Program(data, size).Run(); }

}  // namespace orvfuzz
