#pragma once
// The contacts tovren-bench times interchange with.

#include "interchange/contact.h"

#include <vector>

// `count` contacts as a full book holds them: every column filled, no two alike.
std::vector<interchange::Contact> benchContacts(int count);
