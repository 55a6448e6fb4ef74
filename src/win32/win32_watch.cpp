// The real platform: other processes, the waits on them, and what tells
// whether the machine is in use (the last input, the processors' times, the
// network's counters).
#include "win32/win32_platform_parts.h"

// The interface table of GetIfTable2 is declared only after the socket headers.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <tlhelp32.h>

#include <memory>

#include "win32/system_library.h"
#include "win32/utf16.h"

namespace tarnby {

namespace {

// One registered wait: the system's handle and where its signal goes.
struct Wait {
  HANDLE wait = nullptr;
  HWND hwnd = nullptr;
  UINT_PTR cookie = 0;
};

// Runs on a thread of the system's pool: only a posted message may leave it,
// so everything else happens on the user-interface thread.
VOID CALLBACK Signalled(PVOID context, BOOLEAN) {
  const auto* wait = static_cast<const Wait*>(context);
  ::PostMessageW(wait->hwnd, w::kWmObjectSignalled, wait->cookie, 0);
}

// The interface table, newest call first. Loopback moves nothing over the
// network, and a filter interface only shows again what its adapter moved.
bool AddUpInterfaces(std::uint64_t& received, std::uint64_t& sent) {
  using GetIfTable2Call = DWORD(WINAPI*)(PMIB_IF_TABLE2*);
  using FreeMibTableCall = VOID(WINAPI*)(PVOID);
  using GetIfTableCall = DWORD(WINAPI*)(PMIB_IFTABLE, PULONG, BOOL);
  static const auto getIfTable2 = SystemFunction<GetIfTable2Call>(L"iphlpapi.dll", "GetIfTable2");
  static const auto freeMibTable = SystemFunction<FreeMibTableCall>(L"iphlpapi.dll", "FreeMibTable");
  static const auto getIfTable = SystemFunction<GetIfTableCall>(L"iphlpapi.dll", "GetIfTable");
  received = sent = 0;
  if (getIfTable2 && freeMibTable) {
    PMIB_IF_TABLE2 table = nullptr;
    if (getIfTable2(&table) == NO_ERROR && table) {
      for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IF_ROW2& row = table->Table[i];
        if (row.Type == IF_TYPE_SOFTWARE_LOOPBACK || row.InterfaceAndOperStatusFlags.FilterInterface) continue;
        received += row.InOctets;
        sent += row.OutOctets;
      }
      freeMibTable(table);
      return true;
    }
  }
  if (!getIfTable) return false;
  ULONG size = 0;
  if (getIfTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
  auto* table = reinterpret_cast<PMIB_IFTABLE>(buffer.get());
  if (getIfTable(table, &size, FALSE) != NO_ERROR) return false;
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_IFROW& row = table->table[i];
    if (row.dwType == MIB_IF_TYPE_LOOPBACK) continue;
    received += row.dwInOctets;
    sent += row.dwOutOctets;
  }
  return true;
}

std::uint64_t Hundreds(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::vector<ProcessEntry> Win32Platform::ProcessSnapshot() {
  std::vector<ProcessEntry> processes;
  // A failed snapshot is INVALID_HANDLE_VALUE, as CreateFile fails.
  const OwnedFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
    processes.push_back({entry.th32ProcessID, Utf8(entry.szExeFile)});
  return processes;
}

std::uint32_t Win32Platform::GetCurrentProcessId() { return ::GetCurrentProcessId(); }

Handle Win32Platform::OpenProcess(std::uint32_t access, bool inheritHandle, std::uint32_t processId) {
  return ToHandle(::OpenProcess(access, inheritHandle, processId));
}

bool Win32Platform::CloseHandle(Handle object) { return ::CloseHandle(As<HANDLE>(object)); }

Handle Win32Platform::RegisterWaitForSingleObject(Handle object, Handle hwnd, std::uintptr_t cookie) {
  auto wait = std::make_unique<Wait>();
  wait->hwnd = Hwnd(hwnd);
  wait->cookie = cookie;
  if (!::RegisterWaitForSingleObject(&wait->wait, As<HANDLE>(object), Signalled, wait.get(), INFINITE,
                                     WT_EXECUTEONLYONCE))
    return 0;
  return ToHandle(wait.release());
}

bool Win32Platform::UnregisterWait(Handle handle) {
  const std::unique_ptr<Wait> wait(As<Wait*>(handle));
  // INVALID_HANDLE_VALUE: a callback under way finishes first, so the
  // record it reads is never freed under it.
  return wait && ::UnregisterWaitEx(wait->wait, INVALID_HANDLE_VALUE);
}

bool Win32Platform::GetLastInputInfo(std::uint32_t& dwTime) {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  if (!::GetLastInputInfo(&info)) return false;
  dwTime = info.dwTime;
  return true;
}

std::uint32_t Win32Platform::GetTickCount() { return ::GetTickCount(); }

bool Win32Platform::GetSystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) {
  FILETIME idleTime{}, kernelTime{}, userTime{};
  if (!::GetSystemTimes(&idleTime, &kernelTime, &userTime)) return false;
  idle = Hundreds(idleTime);
  kernel = Hundreds(kernelTime);
  user = Hundreds(userTime);
  return true;
}

bool Win32Platform::GetNetworkOctets(std::uint64_t& received, std::uint64_t& sent) {
  return AddUpInterfaces(received, sent);
}

}  // namespace tarnby
