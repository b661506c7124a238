#pragma once

#include "tools/varnel-play/script.h"

#include <span>

// The actions of the session language, one row each: the word, its arguments and what it does. Each
// does what a user would, in the spreadsheet instances of the process; what cannot be done is refused
// (play::refuse) with what the user should know.
namespace play {

std::span<const Verb> actions();

} // namespace play
