// The one implementation of COrvBaseJson: a RapidJSON document behind a handle.
#ifndef ORVJSON_SRC_JSON_CORVEXTENDJSON_H
#define ORVJSON_SRC_JSON_CORVEXTENDJSON_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "OrvJson.h"
#include "json_types.h"
#include "load_problem.h"
#include "member_index.h"
#include "value_reads.h"

namespace orv {
class TextReleaser;
}

class COrvExtendJson : public COrvBaseJson {
 public:
  COrvExtendJson();
  COrvExtendJson(const COrvExtendJson&) = delete;
  COrvExtendJson& operator=(const COrvExtendJson&) = delete;

  // Objects made with new live in the low slots of orv::ObjectSlots, so that
  // their addresses fit a positive long on every target and a released
  // handle can be told from a live one. (A larger subclass gets ordinary
  // memory.)
  static void* operator new(std::size_t size);
  static void operator delete(void* object) noexcept;

  void Test() override;
  void Destroy() override;
  long WriteToFile(const std::string& path) override;
  long LoadFromString(const std::string& text) override;
  long LoadJsonFile(const char* path, int& hasBom) override;
  void SetValue(const char* key, std::vector<double>& values) override;
  void SetValue(const char* key, std::vector<std::string>& values) override;
  void SetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) override;
  void SetValue(const char* key, const std::string& value) override;
  void SetValue(const char* key, std::vector<int>& values) override;
  void SetValue(const char* key, std::vector<short>& values) override;
  void SetValue(const char* key, std::vector<unsigned char>& values) override;
  void SetValue(const char* key, unsigned int value) override;
  void SetValue(const char* key, const char* value) override;
  void SetValue(const char* key, COrvBaseJson* source) override;
  void SetValue(const char* key, double value) override;
  void SetValue(const char* key, float value) override;
  void SetValue(const char* key, bool value) override;
  void SetValue(const char* key, int value) override;
  void SetValue(const char* key) override;
  long GetValue(int index, COrvBaseJson* target) override;
  long GetValue(int index, double& value) override;
  long GetValue(int index, std::string& value) override;
  long GetValue(int index, float& value) override;
  long GetValue(int index, bool& value) override;
  long GetValue(int index, int& value) override;
  long GetValue(int index, short& value) override;
  long GetValue(const char* key, unsigned int& value) override;
  long GetValue(const char* key, std::vector<double>& values) override;
  long GetValue(const char* key, std::vector<int>& values) override;
  long GetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) override;
  long GetValue(const char* key, std::vector<std::string>& values) override;
  long GetValue(const char* key, std::vector<short>& values) override;
  long GetValue(const char* key, std::vector<unsigned char>& values) override;
  long GetValue(const char* key, COrvBaseJson* target) override;
  long GetValue(const char* key, double& value) override;
  long GetValue(const char* key, std::string& value) override;
  long GetValue(const char* key, float& value) override;
  long GetValue(const char* key, bool& value) override;
  long GetValue(const char* key, int& value) override;
  long GetIsNULL(int index) override;
  void Clear() override;
  std::string GetString(const std::string& key) override;
  std::string GetString() override;
  long Members() override;
  long GetTagCollect(OrvVector& items) override;
  long GetArryItemType(std::string key, int& type) override;
  ~COrvExtendJson() override;
  void AddDoubleArray(const std::string& key, std::vector<double>& values) override;
  void AddIntArray(const std::string& key, std::vector<int>& values) override;
  long GetIsNULL(const char* key) override;

  // Reached by the type-query exports on the concrete class, not through the interface.
  long GetItemType(int index, int& type);
  long GetArryItemType(int index, int& type);

  // --- For the C interface, where keys and strings have explicit lengths ---

  const orv::Value& Root() const { return m_document; }
  // Bytes the document's values take: about as many as its text.
  std::size_t UsedBytes() const { return m_pool.Used(); }
  // The value of the first member whose name is exactly the length bytes at
  // key; null when there is none or the root is not an object.
  const orv::Value* FindMember(const char* key, std::size_t length) const;
  // The element at index of an array root; null past the end or for another root.
  const orv::Value* Element(std::size_t index) const {
    if (!m_document.IsArray() || index >= m_document.Size()) return nullptr;
    return &m_document[static_cast<rapidjson::SizeType>(index)];
  }
  // The same for the int index the C++ interface takes: null for any index
  // outside 0 <= index < Members().
  const orv::Value* ElementAt(int index) const {
    return index < 0 ? nullptr : Element(static_cast<std::size_t>(index));
  }
  // Reads the element at index through one of the shared acceptance rules
  // (a template argument, so that the whole read is inlined into the
  // export): 0 when the rule accepts it and writes out, else -1.
  template <typename Out, orv::Read (*Rule)(const orv::Value&, Out&)>
  long ReadElement(int index, Out& out) const {
    const orv::Value* element = ElementAt(index);
    return element != nullptr && Rule(*element, out) == orv::Read::kAccepted ? 0 : -1;
  }
  // Appends (key, make(allocator)) to an object root; false, with nothing
  // added, for another root. Sizes beyond the limits throw
  // std::length_error before anything is allocated.
  template <typename Make>
  bool Append(const char* key, std::size_t length, Make make) {
    if (!m_document.IsObject()) return false;
    CheckAppend(length);
    Value value = make(m_document.GetAllocator());
    AppendMember(key, length, value);
    return true;
  }
  // Appends (key, a copy of source's root); false for a root that is not an object.
  bool AppendCopy(const char* key, std::size_t length, COrvBaseJson& source);
  // Makes target's root a copy of value (an array or object of this
  // document), as the member and element getters do: 0, or -1 when the
  // copy cannot be loaded. clearFirst: the target is emptied before, and
  // stays empty after a failed copy (the member getter's way); else it keeps
  // what it held.
  long CopyOut(const orv::Value& value, COrvBaseJson& target, bool clearFirst);
  // Why the last load failed on its text; null after a successful load or before any.
  const orv::LoadProblem* LastLoadProblem() const { return m_loadProblem.get(); }
  // Replaces the root with the text's value (length bytes, text[length] a
  // NUL): true, or false with the problem recorded and the document as it was.
  // A releaser may give back the memory of the text the parse has passed.
  bool LoadText(const char* text, std::size_t length, orv::TextReleaser* releaser = nullptr);

 private:
  using Value = orv::Value;

  // Throws std::length_error when a member with a key of length bytes
  // cannot be appended.
  void CheckAppend(std::size_t length) const;
  // Appends (key, value) to an object root; value is moved from. Does nothing
  // for another kind of root, or for a null key.
  void AppendMember(const char* key, std::size_t length, Value& value);
  void AppendMember(const char* key, Value& value);
  // Appends a member holding a copy of size bytes.
  void AppendString(const char* key, const char* data, std::size_t size);

  // Appends (key, array of the numbers); the key holds length bytes.
  template <typename Number>
  void AppendNumberArray(const char* key, std::size_t length, const std::vector<Number>& values);

  // The value of the first member named key (its bytes up to the first NUL);
  // null for a null key, a root that is not an object, or no such member.
  const Value* FindMemberValue(const char* key) const;

  // Makes the root of staged this object's root and forgets the old root's
  // index. The old root and all its memory go with staged.
  void ReplaceRoot(orv::StagedDocument& staged) noexcept;

  // A copy of the other object's root, allocated from this document: what
  // parsing its text gives, or null when it has no valid text (NaN or
  // infinity inside). levelsAbove is how many containers will hold the copy
  // (the root object, and an array for SetObjectArray); they count against
  // the nesting limit, and a copy that would pass it is null too.
  Value ImportObjectValue(COrvBaseJson& other, unsigned levelsAbove);

  // The pool comes first: the document allocates from it. Holding it here
  // rather than letting the document allocate one makes Create allocate
  // nothing at all.
  orv::PoolAllocator m_pool;
  orv::Document m_document;
  orv::MemberIndex m_index;  // of the root's members; lookups extend it
  std::vector<COrvBaseJson*> m_children;
  std::unique_ptr<orv::LoadProblem> m_loadProblem;  // the last load's, when it failed
};

#endif  // ORVJSON_SRC_JSON_CORVEXTENDJSON_H
