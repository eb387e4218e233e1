// The contact sheet: one HTML page that shows every question picture as the bank file holds it
// (deciphered from the built file, not rendered from the sources), with the question's id,
// number, text, options and key beside it, so that a reviewer sees at a glance a picture that
// does not fit its question.
#pragma once

#include <string>

#include "bank/database.h"
#include "base/result.h"

namespace banksrc {

// The page for the open bank `db`; an error when its test table cannot be read.
base::Result<std::string> ContactSheet(bank::Database& db);

}  // namespace banksrc
