// Several threads, each with its own handles, doing everything at once.
// Built on its own under ThreadSanitizer as well.
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
