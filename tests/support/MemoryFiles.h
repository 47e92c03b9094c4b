#pragma once
// Files held in memory in place of the system's file calls, while the object
// lives: every call is noted, any of them can be made to fail once or from a
// given call on, and a power cut brings each file back to what its last flush
// put on the disk.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileCalls.h"

class MemoryFiles : public fs_seam::FileCalls {
 public:
  struct File {
    std::string bytes, onDisk;
  };
  // The at-th call of that name (read, inspect, create, write, flush, close,
  // replace, remove, search) fails with cause; with lasting, every one after it too.
  struct Fault {
    std::string call;
    int at = 1;
    bool lasting = false;
    std::string cause = "File access denied";
  };

  std::map<std::string, File> files;
  std::vector<std::string> calls;  // "<call> <path>", in order
  std::vector<Fault> faults;

  MemoryFiles() : previous_(fs_seam::UseFileCalls(this)) {}
  ~MemoryFiles() override { fs_seam::UseFileCalls(previous_); }
  MemoryFiles(const MemoryFiles&) = delete;
  MemoryFiles& operator=(const MemoryFiles&) = delete;

  void Put(const std::string& path, const std::string& bytes) { files[path] = {bytes, bytes}; }
  std::optional<std::string> Bytes(const std::string& path) const {
    const auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional(found->second.bytes);
  }
  void PowerCut() {
    for (auto& [path, file] : files) file.bytes = file.onDisk;
  }

  std::string Read(const std::string& path, size_t) override {
    Call("read", path);
    const auto found = files.find(path);
    if (found == files.end()) throw fs_seam::FileNotFound("File not found");
    return found->second.bytes;
  }
  fs_seam::FileEntry Inspect(const std::string& path) override {
    Call("inspect", path);
    return {files.count(path) > 0, false, false, 0};
  }
  std::unique_ptr<fs_seam::NewFile> CreateNew(const std::string& path, uint32_t) override {
    Call("create", path);
    if (files.count(path)) return nullptr;
    files[path] = {};
    return std::make_unique<Written>(*this, path);
  }
  void Replace(const std::string& from, const std::string& to) override {
    Call("replace", from);
    const auto found = files.find(from);
    if (found == files.end()) throw fs_seam::FileError("File not found");
    files[to] = found->second;
    files.erase(from);
  }
  void Remove(const std::string& path) override {
    Call("remove", path);
    files.erase(path);
  }
  std::vector<std::string> StartingWith(const std::string& prefix) override {
    Call("search", prefix);
    std::vector<std::string> paths;
    for (const auto& [path, file] : files)
      if (path.rfind(prefix, 0) == 0) paths.push_back(path);
    return paths;
  }
  void FlushFolder(const std::string& folder) override { calls.push_back("flush folder " + folder); }

 private:
  class Written : public fs_seam::NewFile {
   public:
    Written(MemoryFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
    // A disk that fills up takes half of what it was given, then refuses.
    void Write(std::string_view bytes) override {
      try {
        files_.Call("write", path_);
      } catch (const fs_seam::FileError&) {
        File().bytes.append(bytes.substr(0, bytes.size() / 2));
        throw;
      }
      File().bytes.append(bytes);
    }
    void Flush() override {
      files_.Call("flush", path_);
      File().onDisk = File().bytes;
    }
    void Close() override { files_.Call("close", path_); }

   private:
    MemoryFiles::File& File() { return files_.files[path_]; }
    MemoryFiles& files_;
    std::string path_;
  };

  void Call(const std::string& name, const std::string& path) {
    calls.push_back(name + " " + path);
    const int count = ++counts_[name];
    for (const Fault& fault : faults)
      if (fault.call == name && (count == fault.at || (fault.lasting && count > fault.at)))
        throw fs_seam::FileError(fault.cause);
  }

  fs_seam::FileCalls* previous_;
  std::map<std::string, int> counts_;
};
