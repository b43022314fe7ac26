// Folios the tests share, each with a golden CSV file where one is saved from it.
#pragma once

#include "FolioBuilder.h"

namespace tavrel::statexport::test {

// Columns 1, 2 and 4 of unequal length, column 3 absent, column 5 an empty array.
// Golden file: mixed_columns.csv.
testing::Nibbles mixedColumnsFolio();

// One column of two values. Golden file: single_column.csv.
testing::Nibbles singleColumnFolio();

// A root directory whose "'foliodir" holds the folios "'Alpha" then "'Beta" (memory order)
// beside a variable that is no folio. Golden files: foliodir_alpha.csv, foliodir_beta.csv.
testing::Nibbles folioDirWithTwoFolios();

}  // namespace tavrel::statexport::test
