// The counter library "pdh.dll", bound function by function on first use:
// the program does not import it, so a machine without it (or without one of
// its functions) starts all the same and finds out only when a sampler asks.
#pragma once

#include <array>
#include <cstdint>

#include "core/errors.h"
#include "core/seams.h"

namespace velmora {

class EPdhError : public Exception {
 public:
  using Exception::Exception;
};

// The library is neither in the process nor loadable.
class EPdhLoadLibraryError : public EPdhError {
 public:
  using EPdhError::EPdhError;
};

// The library has no function of the asked name.
class EPdhGetProcAddressError : public EPdhError {
 public:
  using EPdhError::EPdhError;
};

// Returns the entry point of `functionName`, filling `slot` on first use. A
// module already in the process is used as it is; otherwise the library is
// loaded and kept for the life of the process. A failed lookup leaves the
// slot empty, so the next call tries again.
EntryPoint BindFunction(ModuleLoader& loader, EntryPoint& slot, const char* libraryName,
                        const char* functionName);

// The six counter functions the samplers call, with the platform's argument
// lists and statuses.
class CounterApi {
 public:
  virtual ~CounterApi() = default;
  virtual PdhStatus PdhOpenQueryW(const char16_t* dataSource, std::uintptr_t userData, PdhQuery* query) = 0;
  virtual PdhStatus PdhAddCounterW(PdhQuery query, const char16_t* fullCounterPath, std::uintptr_t userData,
                                   PdhCounter* counter) = 0;
  virtual PdhStatus PdhCollectQueryData(PdhQuery query) = 0;
  virtual PdhStatus PdhCloseQuery(PdhQuery query) = 0;
  virtual PdhStatus PdhGetFormattedCounterValue(PdhCounter counter, std::uint32_t format, std::uint32_t* type,
                                                PdhFmtCounterValue* value) = 0;
  virtual PdhStatus PdhExpandWildCardPathW(const char16_t* dataSource, const char16_t* wildCardPath,
                                           char16_t* expandedPathList, std::uint32_t* pathListLength,
                                           std::uint32_t flags) = 0;
};

// The counter functions of "pdh.dll", each bound on its first call. Binding
// errors (EPdhLoadLibraryError, EPdhGetProcAddressError) leave the call;
// statuses come back exactly as the library returns them.
class PdhBinding final : public CounterApi {
 public:
  PdhBinding(ModuleLoader& loader, PdhEntryPoints& entryPoints) : loader_(loader), entryPoints_(entryPoints) {}

  PdhStatus PdhOpenQueryW(const char16_t* dataSource, std::uintptr_t userData, PdhQuery* query) override;
  PdhStatus PdhAddCounterW(PdhQuery query, const char16_t* fullCounterPath, std::uintptr_t userData,
                           PdhCounter* counter) override;
  PdhStatus PdhCollectQueryData(PdhQuery query) override;
  PdhStatus PdhCloseQuery(PdhQuery query) override;
  PdhStatus PdhGetFormattedCounterValue(PdhCounter counter, std::uint32_t format, std::uint32_t* type,
                                        PdhFmtCounterValue* value) override;
  PdhStatus PdhExpandWildCardPathW(const char16_t* dataSource, const char16_t* wildCardPath,
                                   char16_t* expandedPathList, std::uint32_t* pathListLength,
                                   std::uint32_t flags) override;

 private:
  enum Function { kOpenQuery, kAddCounter, kCollectQueryData, kCloseQuery, kGetFormattedCounterValue,
                  kExpandWildCardPath, kFunctionCount };
  EntryPoint Bind(Function f);

  ModuleLoader& loader_;
  PdhEntryPoints& entryPoints_;
  std::array<EntryPoint, kFunctionCount> slots_{};
};

}  // namespace velmora
