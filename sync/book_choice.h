#pragma once
// The person picks one of the server's address books: a small modal list,
// shown through the prompt service so that tests answer it.

#include "sync/carddav_collection.h"

namespace tovren::sync {

// The index of the chosen book; nullopt when the person cancelled.
std::optional<int> chooseBookByPrompt(const std::vector<BookChoice>& books);

} // namespace tovren::sync
