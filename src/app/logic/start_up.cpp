// Start-up: the bank file, the connection, the keys, the idle screen, the placeholder picture
// and the maker's page.
#include "app/logic/trainer.h"
#include "bank/extract.h"
#include "exam/display.h"
#include "exam/idle.h"
#include "text/gbk.h"
#include "ui/gbk_literal.h"

namespace app {

void Trainer::StartUp() {
  bank_path_ = bank::BankPath(setup_.program_dir);
  // A failed write is not reported by itself: the open below fails and says so.
  (void)bank::EnsureBankFile(bank_path_, setup_.bank_image);
  // The path goes to the file system as it is: a folder whose name GBK cannot hold (a Polish
  // or Turkish home folder) must work as well as any other.
  if (!database_.OpenPath(bank_path_, std::string(kBankPassword))) {
    host_.ShowMessageBox(ui::G("数据库丢失！"), ui::G("信息："), platform::MessageIcon::kNone);
    host_.ExitProcess(0);
    return;
  }
  hot_keys_ = keys::RegisterHotKeys(host_);
  exam::ResetToIdle(exam_);
  // The thread handle is not kept; a thread that cannot start leaves 图片框3 empty.
  (void)host_.StartThread([this] { PlaceholderTask(); });
  (void)host_.OpenWebAddress(setup_.web_address);
}

void Trainer::PlaceholderTask() {
  // The window model belongs to the window's thread; this thread only hands the work over.
  host_.PostToUiThread([this] { ShowPlaceholderIfIdle(); });
}

void Trainer::ShowPlaceholderIfIdle() {
  // Once a question is shown its own picture (or the placeholder) is in place; a late
  // placeholder must not cover a question's picture.
  if (exam::IsCurrentIndexValid(exam_)) return;
  if (main_.图片框3.picture() != exam_.pictures.placeholder) {
    main_.图片框3.set_picture(exam_.pictures.placeholder);
  }
}

}  // namespace app
