#include "core/pdh_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdh_fakes.h"

namespace velmora {
namespace {

constexpr ModuleHandle kPdh = 7;
constexpr ModuleHandle kPdhOfAnotherComponent = 9;

// One call of each bound function with fixed arguments.
struct Function {
  const char* name;
  PdhStatus (*call)(CounterApi&);
};

PdhQuery gQuery = 0;
PdhCounter gCounter = 0;
PdhFmtCounterValue gValue;
std::uint32_t gLength = 0;
char16_t gBuffer[8];

const Function kFunctions[] = {
    {"PdhOpenQueryW", [](CounterApi& a) { return a.PdhOpenQueryW(nullptr, 0, &gQuery); }},
    {"PdhAddCounterW", [](CounterApi& a) { return a.PdhAddCounterW(5, u"\\P(0)\\T", 3, &gCounter); }},
    {"PdhCollectQueryData", [](CounterApi& a) { return a.PdhCollectQueryData(5); }},
    {"PdhCloseQuery", [](CounterApi& a) { return a.PdhCloseQuery(5); }},
    {"PdhGetFormattedCounterValue",
     [](CounterApi& a) { return a.PdhGetFormattedCounterValue(6, kPdhFmtDouble, nullptr, &gValue); }},
    {"PdhExpandWildCardPathW",
     [](CounterApi& a) { return a.PdhExpandWildCardPathW(nullptr, u"\\P(*/*)\\T", gBuffer, &gLength, 0); }},
};

// The entry points the fake library exports, in the order of kFunctions.
const EntryPoint kEntries[] = {FakeEntry<0>, FakeEntry<1>, FakeEntry<2>, FakeEntry<3>, FakeEntry<4>, FakeEntry<5>};

class Binding : public ::testing::Test {
 protected:
  Binding() {
    loader.loadable["pdh.dll"] = kPdh;
    for (size_t i = 0; i < std::size(kFunctions); ++i) loader.exports[{kPdh, kFunctions[i].name}] = kEntries[i];
  }

  FakeModuleLoader loader;
  FakePdhEntryPoints entries;
  PdhBinding pdh{loader, entries};
};

TEST_F(Binding, FirstCallBindsAndLaterCallsGoStraightToTheEntryPoint) {
  for (size_t i = 0; i < std::size(kFunctions); ++i) {
    const Function& f = kFunctions[i];
    loader.calls.clear();
    entries.calls.clear();
    EXPECT_EQ(f.call(pdh), 0);
    // Loaded once, by the first binding; the others find it in the process.
    std::vector<std::string> expected = {"GetModuleHandleA pdh.dll"};
    if (i == 0) expected.push_back("LoadLibraryA pdh.dll");
    expected.push_back("GetProcAddress 7 " + std::string(f.name));
    EXPECT_EQ(loader.calls, expected) << f.name;

    loader.calls.clear();
    EXPECT_EQ(f.call(pdh), 0);
    EXPECT_EQ(f.call(pdh), 0);
    EXPECT_TRUE(loader.calls.empty()) << f.name;
    ASSERT_EQ(entries.calls.size(), 3u);
    for (const auto& call : entries.calls) {
      EXPECT_EQ(call.function, f.name);
      EXPECT_EQ(call.fn, kEntries[i]);
    }
  }
}

TEST_F(Binding, ModuleAlreadyInTheProcessIsUsedAndNothingIsLoaded) {
  loader.inProcess["pdh.dll"] = kPdhOfAnotherComponent;
  loader.exports[{kPdhOfAnotherComponent, "PdhCollectQueryData"}] = FakeEntry<42>;
  EXPECT_EQ(pdh.PdhCollectQueryData(5), 0);
  EXPECT_EQ(loader.calls, (std::vector<std::string>{"GetModuleHandleA pdh.dll", "GetProcAddress 9 PdhCollectQueryData"}));
  ASSERT_EQ(entries.calls.size(), 1u);
  EXPECT_EQ(entries.calls[0].fn, FakeEntry<42>);
}

TEST_F(Binding, MissingLibraryRaisesOnEveryCallOfEveryFunction) {
  loader.loadable.clear();
  for (const Function& f : kFunctions) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      loader.calls.clear();
      try {
        f.call(pdh);
        ADD_FAILURE() << f.name << " did not raise";
      } catch (const EPdhLoadLibraryError& e) {
        EXPECT_EQ(e.Message(), u"Library not found: pdh.dll");
        EXPECT_EQ(ErrorBoxText(e.Message()), u"Library not found: pdh.dll.");
      }
      // Every call tries to load it again.
      EXPECT_EQ(loader.calls, (std::vector<std::string>{"GetModuleHandleA pdh.dll", "LoadLibraryA pdh.dll"}));
    }
  }
  EXPECT_TRUE(entries.calls.empty());

  // Nothing was kept from the failures: once the library can be loaded, the
  // next call binds.
  loader.loadable["pdh.dll"] = kPdh;
  EXPECT_EQ(pdh.PdhCloseQuery(5), 0);
  ASSERT_EQ(entries.calls.size(), 1u);
  EXPECT_EQ(entries.calls[0].fn, kEntries[3]);
}

TEST_F(Binding, BindingErrorsShareTheCounterLibraryBase) {
  loader.loadable.clear();
  EXPECT_THROW(pdh.PdhOpenQueryW(nullptr, 0, &gQuery), EPdhError);
  EXPECT_THROW(pdh.PdhOpenQueryW(nullptr, 0, &gQuery), Exception);
  loader.loadable["pdh.dll"] = kPdh;
  loader.exports.erase({kPdh, "PdhOpenQueryW"});
  EXPECT_THROW(pdh.PdhOpenQueryW(nullptr, 0, &gQuery), EPdhError);
}

TEST_F(Binding, OneMissingFunctionFailsOnlyItsOwnCalls) {
  loader.exports.erase({kPdh, "PdhExpandWildCardPathW"});
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < std::size(kFunctions); ++i) {
      const Function& f = kFunctions[i];
      if (std::string(f.name) != "PdhExpandWildCardPathW") {
        EXPECT_EQ(f.call(pdh), 0) << f.name;
        continue;
      }
      loader.calls.clear();
      try {
        f.call(pdh);
        ADD_FAILURE() << "no error";
      } catch (const EPdhGetProcAddressError& e) {
        EXPECT_EQ(e.Message(), u"Function not found: pdh.dll.PdhExpandWildCardPathW");
      }
      // Looked up again on every call; the library is not loaded again.
      EXPECT_EQ(loader.calls,
                (std::vector<std::string>{"GetModuleHandleA pdh.dll", "GetProcAddress 7 PdhExpandWildCardPathW"}));
    }
  }
  EXPECT_EQ(entries.calls.size(), 10u);
}

TEST_F(Binding, ArgumentsAndStatusesPassThroughUnchanged) {
  const PdhStatus statuses[] = {0, kPdhMoreData, static_cast<PdhStatus>(0xC0000BB8u),
                                static_cast<PdhStatus>(0x800007D1u), 1, -1};
  for (PdhStatus status : statuses) {
    entries.status = status;
    for (const Function& f : kFunctions) EXPECT_EQ(f.call(pdh), status) << f.name << " " << status;
  }

  entries.calls.clear();
  for (const Function& f : kFunctions) f.call(pdh);
  auto n = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p); };
  ASSERT_EQ(entries.calls.size(), 6u);
  EXPECT_EQ(entries.calls[0].args, (std::vector<std::uintptr_t>{0, 0, n(&gQuery)}));
  EXPECT_EQ(entries.calls[1].args[0], 5u);
  EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(entries.calls[1].args[1])), u"\\P(0)\\T");
  EXPECT_EQ(entries.calls[1].args[2], 3u);
  EXPECT_EQ(entries.calls[1].args[3], n(&gCounter));
  EXPECT_EQ(entries.calls[2].args, (std::vector<std::uintptr_t>{5}));
  EXPECT_EQ(entries.calls[3].args, (std::vector<std::uintptr_t>{5}));
  EXPECT_EQ(entries.calls[4].args, (std::vector<std::uintptr_t>{6, 0x200, 0, n(&gValue)}));
  EXPECT_EQ(entries.calls[5].args[0], 0u);
  EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(entries.calls[5].args[1])), u"\\P(*/*)\\T");
  EXPECT_EQ(entries.calls[5].args[2], n(gBuffer));
  EXPECT_EQ(entries.calls[5].args[3], n(&gLength));
  EXPECT_EQ(entries.calls[5].args[4], 0u);
}

TEST(BindFunction, MessagesNameTheLibraryFirstThenTheFunction) {
  FakeModuleLoader loader;
  EntryPoint slot = nullptr;
  try {
    BindFunction(loader, slot, "other.dll", "Foo");
    ADD_FAILURE();
  } catch (const EPdhLoadLibraryError& e) {
    EXPECT_EQ(e.Message(), u"Library not found: other.dll");
  }
  loader.loadable["other.dll"] = 3;
  try {
    BindFunction(loader, slot, "other.dll", "Foo");
    ADD_FAILURE();
  } catch (const EPdhGetProcAddressError& e) {
    EXPECT_EQ(e.Message(), u"Function not found: other.dll.Foo");
  }
  EXPECT_EQ(slot, nullptr);
  loader.exports[{3, "Foo"}] = FakeEntry<3>;
  EXPECT_EQ(BindFunction(loader, slot, "other.dll", "Foo"), FakeEntry<3>);
  EXPECT_EQ(slot, FakeEntry<3>);
}

}  // namespace
}  // namespace velmora
