// Loads the built core plug-in the way an outside program does and calls the BCD functions
// by name. The C library's libm, loaded first, exports fdiv, fmul and fsqrt as well: the
// plug-in's own calls must still reach its own functions. This file deliberately does not
// include the library's header: it checks the record layout that outside callers rely on.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Real {
  int32_t sign;
  uint32_t spare1;
  uint32_t mantLow;
  uint32_t mantHigh;
  int32_t exponent;
  uint32_t spare2;
};
static_assert(sizeof(Real) == 24);
static_assert(offsetof(Real, mantLow) == 8 && offsetof(Real, exponent) == 16);

using Binary = int (*)(const Real*, const Real*, Real*);
using Unary = int (*)(const Real*, Real*);
using ReadText = int (*)(const char*, Real*, char, char);
using WriteText = char* (*)(const Real*, char*, char, char, int, int, int);
using Pack = uint64_t (*)(const Real*);

const char* const kExports[] = {
    "fUnpack",      "fPack",        "fNorm",         "fradd",      "frsub",       "fmul",
    "fmul_noNorm",  "fdiv",         "finv",          "fsqrt",      "hfmod",       "fmul2",
    "fdiv2",        "fichs",        "fiabs",         "fiIP",       "fiFP",        "ficeil",
    "fifloor",      "firnd",        "fitrunc",       "fimin",      "fimax",       "fZRToInt",
    "fIntToZR",     "fNbSigDigits", "fNorm_L",       "fNormUp_L",  "fStringToZR", "fStringToZR_er",
    "fZRToString",  "fLT",          "fLE",           "fGT",        "fGE",         "fEQ",
    "fNE",          "fMLT",         "fMLE",          "fMGT",       "fMGE",        "fMEQ",
    "fMNE",         "fZero",        "fMZero",        "fFinite",    "fPos",        "fNeg",
    "fiParity",     "fiInteger",    "fiSignEQ",      "fPNaN",      "fError",      "dcbDigit",
    "dcbAddAdjust", "dcbSubAdjust", "dcbShiftRound", "dcbMul",     "bintobcd",    "dcbtobin",
    "ZR_0",         "ZR_N0",        "ZR_1",          "ZR_2",       "ZR_3",        "ZR_4",
    "ZR_5",         "ZR_6",         "ZR_7",          "ZR_8",       "ZR_9",        "ZR_N1",
    "ZR_N2",        "ZR_N3",        "ZR_10",         "ZR_11",      "ZR_50",       "ZR_Max",
    "ZR_NMax",      "ZR_Min",       "ZR_NMin",       "MinMantisa", "PZR_0",       "PZR_1",
    "PZR_2",        "PZR_3",        "PZR_12",        "PZR_100",    "PZR_200"};

class PluginExports : public testing::Test {
 protected:
  void SetUp() override {
    // The narrowing functions of libm, so that their names are taken before the plug-in loads.
    volatile double one = 1.0;
    volatile double three = 3.0;
    ASSERT_FLOAT_EQ(::fdiv(one, three), 1.0f / 3.0f);
    ASSERT_NE(dlsym(RTLD_DEFAULT, "fdiv"), nullptr);
    const char* build = std::getenv("TAVREL_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "TAVREL_BUILD_DIR is not set";
    const std::string path = std::string(build) + "/components/nexocore.so";
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }

  template <typename T>
  T function(const char* name) {
    return reinterpret_cast<T>(dlsym(handle_, name));
  }
  const Real& constant(const char* name) { return *static_cast<const Real*>(dlsym(handle_, name)); }

  Real read(const char* text) {
    Real out{};
    EXPECT_EQ(function<ReadText>("fStringToZR")(text, &out, '.', ','), 0);
    return out;
  }
  std::string write(const Real& x) {
    char buffer[40];
    return function<WriteText>("fZRToString")(&x, buffer, '.', ',', 0, 12, 10);
  }

  void* handle_ = nullptr;
};

TEST_F(PluginExports, EveryNameIsExported) {
  for (const char* name : kExports) {
    EXPECT_NE(dlsym(handle_, name), nullptr) << name;
  }
}

TEST_F(PluginExports, NamesSharedWithLibmReachThePlugin) {
  ASSERT_NE(dlsym(handle_, "fdiv"), dlsym(RTLD_DEFAULT, "fdiv"));
  Real out{};
  EXPECT_EQ(function<Unary>("finv")(&constant("ZR_3"), &out), 1);
  EXPECT_EQ(write(out), "3.333333333E-1");
  EXPECT_EQ(function<Binary>("fdiv")(&constant("ZR_1"), &constant("ZR_4"), &out), 0);
  EXPECT_EQ(write(out), "0.25");
  const Real a = read("12345.6");
  const Real b = read("-2");
  EXPECT_EQ(function<Binary>("fmul")(&a, &b, &out), 0);
  EXPECT_EQ(write(out), "-24,691.2");
  EXPECT_EQ(function<Unary>("fsqrt")(&constant("ZR_2"), &out), 1);
  EXPECT_EQ(write(out), "1.414213562");
  const Real ten = read("1E10");
  EXPECT_EQ(function<Binary>("fradd")(&ten, &constant("ZR_1"), &out), 0);
  EXPECT_EQ(write(out), "1.000000000E10");
}

TEST_F(PluginExports, RecordLayoutAndPackedForm) {
  const Real& max = constant("ZR_Max");
  EXPECT_EQ(max.sign, 1);
  EXPECT_EQ(max.mantHigh, 0x09999999u);
  EXPECT_EQ(max.mantLow, 0x99999999u);
  EXPECT_EQ(max.exponent, 49999);
  const Real x = read("-1.5E-7");
  EXPECT_EQ(function<Pack>("fPack")(&x), 0x9150000000000993ull);
  EXPECT_EQ(*static_cast<const uint64_t*>(dlsym(handle_, "PZR_12")), 0x0120000000000001ull);
}

}  // namespace
