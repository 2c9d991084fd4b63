// A stand-in for the performance counter library, built as pdh.dll and put
// into the system folder of Wine's prefix, where Wine then loads it instead
// of its own (WINEDLLOVERRIDES=pdh=n). What it reports is scripted by the environment
// variable VELMORA_TESTPDH, read each time a query is opened (so a test can
// change it between queries): space-separated settings
//   open=<hex>     status of PdhOpenQueryW (default 0)
//   expand=<hex>   status of a sizing expansion call (default PDH_MORE_DATA)
//   expand2=<hex>  status of an expansion call into a large enough buffer (default 0)
//   cpus=<list>    the processor instances in expansion order, comma-separated,
//                  each "name:value"; "-name" cannot be added, value "x"
//                  cannot be read (default "0:0,_Total:0")
// Built a second time without PdhCloseQuery (TESTPDH_WITHOUT_CLOSE), as a
// library that lacks one function.
#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct Instance {
  std::wstring name;
  bool addable = true;
  bool readable = true;
  double value = 0;
};

struct Script {
  PDH_STATUS open = 0;
  PDH_STATUS expand = static_cast<PDH_STATUS>(PDH_MORE_DATA);
  PDH_STATUS expand2 = 0;
  std::vector<Instance> cpus;
};

struct Counter {
  Instance instance;
};

struct Query {
  Script script;
  std::vector<std::unique_ptr<Counter>> counters;
};

Script gScript;  // the one read at the last open; the expansion lists its instances
std::set<Query*> gQueries;
std::set<Counter*> gCounters;

constexpr wchar_t kPrefix[] = L"\\Processor(";
constexpr wchar_t kSuffix[] = L")\\% Processor Time";

std::wstring PathOf(const std::wstring& instance) { return kPrefix + instance + kSuffix; }

PDH_STATUS Hex(const std::wstring& s) { return static_cast<PDH_STATUS>(std::wcstoul(s.c_str(), nullptr, 16)); }

std::vector<std::wstring> Split(const std::wstring& s, wchar_t separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = s.find(separator, start);
    const std::wstring part = s.substr(start, end - start);
    if (!part.empty()) parts.push_back(part);
    if (end == std::wstring::npos) return parts;
    start = end + 1;
  }
}

Script ReadScript() {
  Script script;
  wchar_t buffer[4096] = {};
  std::wstring text = L"cpus=0:0,_Total:0";
  const DWORD n = ::GetEnvironmentVariableW(L"VELMORA_TESTPDH", buffer, 4096);
  if (n > 0 && n < 4096) text += L" " + std::wstring(buffer, n);
  for (const std::wstring& setting : Split(text, L' ')) {
    const size_t eq = setting.find(L'=');
    if (eq == std::wstring::npos) continue;
    const std::wstring key = setting.substr(0, eq), value = setting.substr(eq + 1);
    if (key == L"open") script.open = Hex(value);
    if (key == L"expand") script.expand = Hex(value);
    if (key == L"expand2") script.expand2 = Hex(value);
    if (key == L"cpus") {
      script.cpus.clear();
      for (const std::wstring& item : Split(value, L',')) {
        Instance instance;
        const size_t colon = item.find(L':');
        instance.name = item.substr(0, colon);
        if (!instance.name.empty() && instance.name[0] == L'-') {
          instance.addable = false;
          instance.name.erase(0, 1);
        }
        const std::wstring v = colon == std::wstring::npos ? L"0" : item.substr(colon + 1);
        if (v == L"x") {
          instance.readable = false;
        } else {
          instance.value = std::wcstod(v.c_str(), nullptr);
        }
        script.cpus.push_back(instance);
      }
    }
  }
  return script;
}

Query* LiveQuery(PDH_HQUERY h) {
  auto* q = static_cast<Query*>(h);
  return gQueries.count(q) ? q : nullptr;
}

Counter* LiveCounter(PDH_HCOUNTER h) {
  auto* c = static_cast<Counter*>(h);
  return gCounters.count(c) ? c : nullptr;
}

}  // namespace

extern "C" {

__declspec(dllexport) PDH_STATUS WINAPI PdhOpenQueryW(LPCWSTR dataSource, DWORD_PTR, PDH_HQUERY* query) {
  if (dataSource != nullptr || query == nullptr) return PDH_INVALID_ARGUMENT;
  gScript = ReadScript();
  if (gScript.open != 0) return gScript.open;
  auto* q = new Query{gScript, {}};
  gQueries.insert(q);
  *query = q;
  return 0;
}

__declspec(dllexport) PDH_STATUS WINAPI PdhAddCounterW(PDH_HQUERY query, LPCWSTR path, DWORD_PTR,
                                                       PDH_HCOUNTER* counter) {
  Query* q = LiveQuery(query);
  if (!q) return PDH_INVALID_HANDLE;
  if (path == nullptr || counter == nullptr) return PDH_INVALID_ARGUMENT;
  for (const Instance& instance : q->script.cpus) {
    if (PathOf(instance.name) != path) continue;
    if (!instance.addable) return PDH_CSTATUS_NO_INSTANCE;
    q->counters.push_back(std::make_unique<Counter>(Counter{instance}));
    gCounters.insert(q->counters.back().get());
    *counter = q->counters.back().get();
    return 0;
  }
  return PDH_CSTATUS_NO_COUNTER;
}

__declspec(dllexport) PDH_STATUS WINAPI PdhCollectQueryData(PDH_HQUERY query) {
  return LiveQuery(query) ? 0 : PDH_INVALID_HANDLE;
}

#ifndef TESTPDH_WITHOUT_CLOSE
__declspec(dllexport) PDH_STATUS WINAPI PdhCloseQuery(PDH_HQUERY query) {
  Query* q = LiveQuery(query);
  if (!q) return PDH_INVALID_HANDLE;
  for (const auto& c : q->counters) gCounters.erase(c.get());
  gQueries.erase(q);
  delete q;
  return 0;
}
#endif

__declspec(dllexport) PDH_STATUS WINAPI PdhGetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format, LPDWORD type,
                                                                    PPDH_FMT_COUNTERVALUE value) {
  Counter* c = LiveCounter(counter);
  if (!c) return PDH_INVALID_HANDLE;
  if (value == nullptr || format != PDH_FMT_DOUBLE) return PDH_INVALID_ARGUMENT;
  if (type) *type = PERF_100NSEC_TIMER_INV;
  if (!c->instance.readable) {
    value->CStatus = PDH_CSTATUS_INVALID_DATA;
    return PDH_INVALID_DATA;
  }
  value->CStatus = PDH_CSTATUS_VALID_DATA;
  value->doubleValue = c->instance.value;
  return 0;
}

__declspec(dllexport) PDH_STATUS WINAPI PdhExpandWildCardPathW(LPCWSTR dataSource, LPCWSTR wildCardPath,
                                                               LPWSTR list, LPDWORD length, DWORD flags) {
  if (dataSource != nullptr || wildCardPath == nullptr || length == nullptr || flags != 0) {
    return PDH_INVALID_ARGUMENT;
  }
  if (PathOf(L"*/*") != wildCardPath) return PDH_INVALID_PATH;
  std::wstring all;
  for (const Instance& instance : gScript.cpus) all += PathOf(instance.name) + L'\0';
  all += L'\0';
  const DWORD needed = static_cast<DWORD>(all.size());
  if (list == nullptr || *length < needed) {
    *length = needed;
    return gScript.expand;
  }
  all.copy(list, all.size());
  *length = needed;
  return gScript.expand2;
}

}  // extern "C"
