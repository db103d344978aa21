// The readable layout source: the classic text form of a form stream.
//
//   object frmMain: TfrmMain            (or `inherited` / `inline`; `[n]` gives a child
//     Left = 8                           position after the class name)
//     Caption = 'Запуск'                 (texts in quotes, '' for a quote, #13 for codes,
//     Font.Style = [fsBold]               parts joined by writing them side by side or +)
//     Items.Strings = ('a' 'b')
//     OnClick = btnStartClick            (identifiers; True, False, nil)
//     Ratio = 1.5                        (Extended; suffix s Single, d Date, c Currency,
//     Data = {0A0B0C}                     r Double)
//     Packages = @'skins/catalogue.bin'  (binary spliced from a file made earlier)
//     Skins = include 'skins/list.inc'   (the one value written in that file, made earlier;
//                                         its own @ and include names may be relative to it)
//     Columns = <item [0] Width = 10 end>
//     object btnStart: TButton ... end
//   end
//
// Integers take the smallest of Int8, Int16, Int32 (Int64 beyond); ASCII texts are String
// (LString past 255 bytes), others Utf8String.
#pragma once

#include "resources/FormStream.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kq::forms {

struct FormTextOptions {
  // Folders searched, in order, for spliced and included files; the folder of the file
  // that names them comes last.
  std::vector<std::filesystem::path> spliceDirs;
};

// "file:line: what is wrong".
class FormTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Component ParseFormText(std::string_view text, const std::filesystem::path& sourcePath,
                        const FormTextOptions& options = {});

}  // namespace kq::forms
