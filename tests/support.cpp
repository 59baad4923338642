#include "support.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace orvtest {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  std::ostringstream name;
  name << "orvjson-test-" << random() << '-' << counter++;
  const fs::path path = fs::temp_directory_path() / name.str();
  fs::create_directories(path);
  path_ = path.string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::string TempDir::Path(const std::string& name) const { return (fs::path(path_) / name).string(); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path, bool* exists) {
  std::ifstream in(path, std::ios::binary);
  if (exists != nullptr) *exists = static_cast<bool>(in);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

struct ThreadBody {
  const std::function<void()>* body;
};

#ifdef _WIN32
DWORD WINAPI ThreadMain(LPVOID arg) {
  (*static_cast<ThreadBody*>(arg)->body)();
  return 0;
}
#else
void* ThreadMain(void* arg) {
  (*static_cast<ThreadBody*>(arg)->body)();
  return nullptr;
}
#endif

}  // namespace

void RunWithStack(std::size_t stackBytes, const std::function<void()>& body) {
  ThreadBody arg{&body};
#ifdef _WIN32
  HANDLE thread = CreateThread(nullptr, stackBytes, ThreadMain, &arg, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) throw std::runtime_error("CreateThread failed");
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
#else
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, stackBytes);
  pthread_t thread;
  const int error = pthread_create(&thread, &attr, ThreadMain, &arg);
  pthread_attr_destroy(&attr);
  if (error != 0) throw std::runtime_error("pthread_create failed");
  pthread_join(thread, nullptr);
#endif
}

unsigned long long BitsOf(double value) {
  unsigned long long bits = 0;
  static_assert(sizeof bits == sizeof value, "double is 64 bits");
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

unsigned BitsOf(float value) {
  unsigned bits = 0;
  static_assert(sizeof bits == sizeof value, "float is 32 bits");
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace orvtest
