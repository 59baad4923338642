// Getters against the RapidJSON code that does the same lookup and test,
// and the cost of reading every member of a root by key as it grows.
#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "corpus.h"
#include "harness.h"

namespace orvbench {
namespace {

// The keyed int getter on the last member.
Body KeyedGetter(int members) {
  auto h = NewHandle();
  LoadFromString(*h, ObjectOfMembers(members));
  const std::string key = "m" + std::to_string(members - 1);
  return [h, key] {
    int value = 0;
    Use(GetValue(*h, key.c_str(), value));
    Use(value);
  };
}

// RapidJSON's FindMember: the scan every lookup used to be.
Body RapidKeyedLookup(int members) {
  auto doc = std::make_shared<rapidjson::Document>();
  doc->Parse(ObjectOfMembers(members).c_str());
  const std::string key = "m" + std::to_string(members - 1);
  return [doc, key] {
    int value = 0;
    const auto member = doc->FindMember(key.c_str());
    if (member != doc->MemberEnd() && member->value.IsInt()) value = member->value.GetInt();
    Use(value);
  };
}

// The interface's own way to read a whole document: list the members with
// GetTagCollect, then read each by its name.
Body ReadAllByKey(int members) {
  auto h = NewHandle();
  LoadFromString(*h, ObjectOfMembers(members));
  return [h] {
    OrvVector tags;
    GetTagCollect(*h, tags);
    long sum = 0;
    for (const OrvTagItem& tag : tags.m_items) {
      int value = 0;
      GetValue(*h, tag.name.c_str(), value);
      sum += value;
    }
    Use(sum);
  };
}

bool AddSizes(const char* name, Body (*prepare)(int), std::initializer_list<int> sizes) {
  for (const int size : sizes)
    Add(std::string(name) + "/" + std::to_string(size), [prepare, size] { return prepare(size); });
  return true;
}

const bool kKeyedGetter = AddSizes("OrvKeyedGetter", KeyedGetter, {10, 1000, 100000});
const bool kRapidKeyedLookup = AddSizes("RapidKeyedLookup", RapidKeyedLookup, {10, 1000, 100000});
const bool kReadAllByKey = AddSizes("OrvReadAllByKey", ReadAllByKey, {1000, 10000, 100000, 1000000});

const bool kTagCollect = Add("OrvTagCollect", [] {
  auto h = NewHandle();
  LoadFromString(*h, ObjectOfMembers(1000));
  return Body([h] {
    OrvVector tags;
    Use(GetTagCollect(*h, tags));
  });
});

const bool kRapidListMembers = Add("RapidListMembers", [] {
  auto doc = std::make_shared<rapidjson::Document>();
  doc->Parse(ObjectOfMembers(1000).c_str());
  return Body([doc] {
    OrvVector tags;
    for (const auto& member : doc->GetObject()) {
      tags.m_items.push_back(OrvTagItem{member.name.GetString(), member.value.IsInt() ? 32 : 0});
    }
    Use(tags.m_items.size());
  });
});

constexpr int kElements = 1000000;

// Every element of a 1,000,000-element array root through the index getter.
const bool kIndexGetters = Add("OrvIndexGetters", [] {
  auto h = NewHandle();
  LoadFromString(*h, ArrayOfDoubles(kElements));
  return Body([h] {
    double sum = 0, value = 0;
    for (int i = 0; i < kElements; ++i) {
      GetValue(*h, i, value);
      sum += value;
    }
    Use(sum);
  });
});

const bool kRapidIndexAccess = Add("RapidIndexAccess", [] {
  auto doc = std::make_shared<rapidjson::Document>();
  doc->Parse(ArrayOfDoubles(kElements).c_str());
  return Body([doc] {
    double sum = 0;
    for (rapidjson::SizeType i = 0; i < doc->Size(); ++i) {
      if ((*doc)[i].IsDouble()) sum += (*doc)[i].GetDouble();
    }
    Use(sum);
  });
});

}  // namespace
}  // namespace orvbench
