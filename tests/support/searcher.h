// The searcher shared by the tests of one executable: the game creates one
// buscador for the whole run, and a second one would allocate the
// program-wide tables again.
#pragma once

#include "search/buscador.h"

namespace zarvi::test {

// Created on first use, with the smallest hash size factor.
buscador& sharedSearcher();

}  // namespace zarvi::test
