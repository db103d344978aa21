#include "skins/SkinExtraction.h"

namespace kq {

std::u16string NormaliseDestDir(std::u16string_view destDir) {
  std::u16string dir(destDir);
  if (dir.empty() || dir.back() == u'\\') return dir;
  if (dir.back() == u'/') {
    dir.back() = u'\\';
  } else if (dir.size() == 1) {
    dir += u":\\";
  } else {
    dir += u'\\';
  }
  return dir;
}

std::u16string DirectoryCreationError(std::u16string_view directory) {
  return u"Directory " + std::u16string(directory) + u" creation error.";
}

}  // namespace kq
