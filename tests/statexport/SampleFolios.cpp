#include "SampleFolios.h"

namespace tavrel::statexport::test {

using namespace testing;

Nibbles mixedColumnsFolio() {
  return statFolio({
      std::vector<std::string>{"12345.6", "0.00123", "1.5E-7", "12345678901", "-42"},
      std::vector<std::string>{"3.14159265359", "0", "1000"},
      std::nullopt,
      std::vector<std::string>{"100", "-0.5", "999999999999", "1E-5", "7"},
      std::vector<std::string>{},
  });
}

Nibbles singleColumnFolio() {
  return statFolio({std::vector<std::string>{"1", "2.5"}});
}

Nibbles folioDirWithTwoFolios() {
  const Nibbles alpha = statFolio({std::vector<std::string>{"1", "2"}});
  const Nibbles beta = statFolio({std::vector<std::string>{"-3"}, std::vector<std::string>{"4"}});
  const Nibbles folios =
      directory({{"'Alpha", alpha}, {"'Notes", string("no folio")}, {"'Beta", beta}});
  return directory({{"HOME", real("1")}, {"'foliodir", folios}, {"X", bint(5)}});
}

}  // namespace tavrel::statexport::test
