// Several threads, each with its own handles, doing everything at once.
// Built on its own under ThreadSanitizer as well.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::Doc;
using orvtest::ReadBytes;
using orvtest::TempDir;

TEST(Threads, ObjectsUsedByOneThreadEachRunInParallel) {
  TempDir dir;
  constexpr int kThreads = 8;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string path = dir.Path("thread" + std::to_string(t) + ".json");
      for (int round = 0; round < 50; ++round) {
        Doc built, copy, loaded;
        SetValue(built.h(), "thread", t);
        SetValue(built.h(), "round", round);
        SetValue(built.h(), "ratio", t / 7.0);
        std::vector<std::string> names{"a", "b", std::to_string(round)};
        SetValue(built.h(), "names", names);
        long source = built.h();
        SetValue(copy.h(), "inner", static_cast<void*>(&source));
        Doc extracted;
        long target = extracted.h();
        if (GetValue(copy.h(), "inner", static_cast<void*>(&target)) != 0) ++failures[t];
        if (WriteToFile(extracted.h(), path) != 0) ++failures[t];
        int hasBom = 0;
        if (LoadJsonFile(loaded.h(), path.c_str(), hasBom) != 1) ++failures[t];
        if (GetString(loaded.h()) != GetString(built.h())) ++failures[t];
        int value = -1;
        GetValue(loaded.h(), "thread", value);
        if (value != t) ++failures[t];
        Clear(loaded.h());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

// Reading one document from several threads at once is safe: getters, kinds,
// text and member lists, on a fresh document whose member index the first
// lookups build.
TEST(Threads, SeveralThreadsMayReadOneHandleAtOnce) {
  constexpr int kThreads = 4;
  constexpr int kMembers = 200;
  std::string text = "{";
  for (int m = 0; m < kMembers; ++m) text += (m ? ",\"m" : "\"m") + std::to_string(m) + "\":" + std::to_string(m);
  text += ",\"list\":[1,2,3]}";
  for (int round = 0; round < 30; ++round) {
    Doc doc, list;
    ASSERT_EQ(LoadFromString(doc.h(), text), 0);
    ASSERT_EQ(LoadFromString(list.h(), "[1,2.5,\"s\",null]"), 0);
    const std::string expected = doc.text();
    std::atomic<int> ready{0};
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        ++ready;
        while (ready < kThreads) std::this_thread::yield();
        for (int m = kMembers - 1; m >= 0; --m) {
          int value = -1;
          GetValue(doc.h(), ("m" + std::to_string(m)).c_str(), value);
          failures[t] += value != m;
        }
        int type = 0;
        failures[t] += GetArryItemType(doc.h(), std::string("list"), type) != OrvItemInt;
        failures[t] += GetIsNULL(doc.h(), "m1") != -1;
        OrvVector tags;
        failures[t] += GetTagCollect(doc.h(), tags) != kMembers + 1;
        failures[t] += Members(doc.h()) != kMembers + 1 || ::Test(doc.h()) != 0;
        failures[t] += GetString(doc.h()) != expected;
        double d = 0;
        failures[t] += GetValue(list.h(), 1, d) != 0 || d != 2.5;
        failures[t] += GetItemType(list.h(), 2, type) != 0 || type != OrvItemString;
        failures[t] += GetIsNULL(list.h(), 3) != 1;
      });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t << ", round " << round;
  }
}
