// formc: compiles a layout source into the form stream stored in the program's resources.
//
//   formc SOURCE -o OUTPUT [-I DIR]... [--plain]   compile; zlib level 9 unless --plain
//   formc --dump FILE                              print a stored form (plain or zlib)
//
// Errors go to stderr as "file:line: message"; the exit code is 1. The output file is
// replaced only when compiling succeeded, so a failed build step leaves nothing stale.
#include "FormText.h"
#include "FormWriter.h"

#include "common/Error.h"
#include "common/InflateStream.h"
#include "common/Utf8.h"

#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace fs = std::filesystem;
using namespace kq;
using namespace kq::forms;

namespace {

Bytes ReadFile(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error(path.string() + ": cannot open");
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void WriteFileAtomically(const fs::path& path, ByteView data) {
  const fs::path temp = path.string() + ".tmp";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error(temp.string() + ": cannot write");
  }
  fs::rename(temp, path);
}

Bytes Compress(ByteView plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9) != Z_OK) {
    throw std::runtime_error("zlib failed to compress");
  }
  out.resize(size);
  return out;
}

// Reads a stored form the way the launcher does: plain when it begins with "TPF0".
Component ReadStored(ByteView data) {
  MemoryInputStream source(data);
  BufferedInput in(source);
  if (data.size() >= 4 && std::memcmp(data.data(), kFormSignature.data(), 4) == 0) {
    return ReadFormStream(in);
  }
  InflateStream z(in);
  return ReadFormStream(z);
}

int Usage() {
  std::cerr << "usage: formc SOURCE -o OUTPUT [-I DIR]... [--plain]\n"
               "       formc --dump FILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path source, output, dump;
  FormTextOptions options;
  bool plain = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-o" && i + 1 < argc)
      output = argv[++i];
    else if (a == "-I" && i + 1 < argc)
      options.spliceDirs.emplace_back(argv[++i]);
    else if (a == "--plain")
      plain = true;
    else if (a == "--dump" && i + 1 < argc)
      dump = argv[++i];
    else if (!a.empty() && a[0] != '-' && source.empty())
      source = a;
    else
      return Usage();
  }
  try {
    if (!dump.empty()) {
      std::cout << DumpComponent(ReadStored(ReadFile(dump)));
      return 0;
    }
    if (source.empty() || output.empty()) return Usage();
    const Bytes text = ReadFile(source);
    const Component root = ParseFormText(AsChars(text), source, options);
    const Bytes stream = WriteFormStream(root);
    // The launcher's reader must give back exactly the tree that was written.
    MemoryInputStream check(stream);
    if (!(ReadFormStream(check) == root)) {
      throw std::runtime_error(source.string() + ": the written stream does not read back");
    }
    WriteFileAtomically(output, plain ? stream : Compress(stream));
    return 0;
  } catch (const Error& e) {
    std::cerr << "formc: " << Utf16ToUtf8String(e.Message()) << "\n";
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
  }
  return 1;
}
