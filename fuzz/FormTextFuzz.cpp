// libFuzzer target: the layout compiler's text reader and the form-stream writer. Any text
// must either compile or fail with a "file:line:" error; a layout that compiles must read
// back from the stream it was written to as the same tree, and writing that tree again must
// give the same bytes.
#include "FormText.h"
#include "FormWriter.h"
#include "common/Error.h"
#include "resources/FormStream.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kq;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Spliced and included files are the build's own, read from the disk: not this target's.
  if (text.find('@') != text.npos || text.find("nclude") != text.npos) return 0;
  forms::Component tree;
  try {
    tree = forms::ParseFormText(text, "fuzz.form");
  } catch (const forms::FormTextError& e) {
    if (std::string_view(e.what()).substr(0, 10) != "fuzz.form:") std::abort();
    return 0;
  }
  const Bytes stream = forms::WriteFormStream(tree);
  forms::Component back;
  try {
    MemoryInputStream source(stream);
    BufferedInput in(source);
    back = forms::ReadFormStream(in);
  } catch (const Error&) {
    std::abort();  // the writer made a stream its reader refuses
  }
  if (forms::WriteFormStream(back) != stream) std::abort();
  return 0;
}
