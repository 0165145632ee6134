#include "subclass.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

namespace dulib::subclass {

namespace {

struct Link {
  SUBCLASSPROC proc;
  UINT_PTR id;
  DWORD_PTR data;
  bool removed;
};

// One window's procedures, the first added first. While a message is on
// its way through (depth > 0) links are only marked removed, never erased:
// the positions that the calls in progress keep stay valid.
struct Chain {
  WNDPROC original = nullptr;
  bool unicode = true;
  std::vector<Link> links;
  int running = -1;  // the link handling the message now; -1 none
  int depth = 0;
  bool destroyed = false;
};

using Table = std::unordered_map<HWND, std::unique_ptr<Chain>>;

// Lives as long as the process, like the subclassed windows may.
Table& Chains() {
  static auto* table = new Table;
  return *table;
}

Chain* Find(HWND hwnd) {
  auto it = Chains().find(hwnd);
  return it == Chains().end() ? nullptr : it->second.get();
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The window procedure as it was set: a window procedure read through
// the other character set comes back as a thunk.
WNDPROC CurrentProc(HWND hwnd, bool unicode) {
  return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                           : GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}

LONG_PTR SetProc(HWND hwnd, bool unicode, WNDPROC proc) {
  auto value = reinterpret_cast<LONG_PTR>(proc);
  return unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, value)
                 : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, value);
}

// The topmost link below `index` that is still in the chain; -1 for the
// window's own procedure.
int LinkBelow(const Chain& chain, int index) {
  for (int i = index - 1; i >= 0; --i) {
    if (!chain.links[size_t(i)].removed) return i;
  }
  return -1;
}

// Drops removed links once no message is on its way; gives the window its
// own procedure back when no link is left, unless another subclass has
// been put over ours since (then ours stays, passing everything on).
void Tidy(HWND hwnd, Chain* chain) {
  auto& links = chain->links;
  links.erase(std::remove_if(links.begin(), links.end(), [](const Link& l) { return l.removed; }),
              links.end());
  if (!chain->destroyed) {
    if (!links.empty() || CurrentProc(hwnd, chain->unicode) != ChainProc) return;
    SetProc(hwnd, chain->unicode, chain->original);
  }
  Chains().erase(hwnd);
}

// Hands a message to link `index`, or to the window's own procedure, and
// tidies the chain when the outermost call returns: `chain` may be gone
// after this.
LRESULT Run(HWND hwnd, Chain* chain, int index, UINT msg, WPARAM wp, LPARAM lp) {
  const int saved = chain->running;
  chain->running = index;
  chain->depth++;
  LRESULT result;
  if (index < 0) {
    result = chain->unicode ? CallWindowProcW(chain->original, hwnd, msg, wp, lp)
                            : CallWindowProcA(chain->original, hwnd, msg, wp, lp);
  } else {
    const Link link = chain->links[size_t(index)];  // the vector may grow meanwhile
    result = link.proc(hwnd, msg, wp, lp, link.id, link.data);
  }
  chain->depth--;
  chain->running = saved;
  if (msg == WM_NCDESTROY) chain->destroyed = true;
  if (chain->depth == 0) Tidy(hwnd, chain);
  return result;
}

// Asks whether ChainProc still lies on the window's way: the answer that
// only ChainProc gives, whoever else subclassed the window since.
UINT ProbeMessage() {
  static const UINT probe = RegisterWindowMessageW(L"dulib.subclass.probe");
  return probe;
}
constexpr LRESULT kProbeAnswer = 0x5348;  // "SH"

// False when another subclass, put under ours, has since given the window
// back the procedure it found, leaving ours out: the chain is stale.
bool Reached(HWND hwnd, const Chain& chain) {
  if (CurrentProc(hwnd, chain.unicode) == ChainProc) return true;
  return ProbeMessage() != 0 && SendMessageW(hwnd, ProbeMessage(), 0, 0) == kProbeAnswer;
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Chain* chain = Find(hwnd);
  if (!chain) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == ProbeMessage() && msg != 0) return kProbeAnswer;
  return Run(hwnd, chain, LinkBelow(*chain, int(chain->links.size())), msg, wp, lp);
}

}  // namespace

bool Set(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  if (!proc || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return false;
  Chain* chain = Find(hwnd);
  if (chain && chain->depth == 0 && !Reached(hwnd, *chain)) {
    // Ours again, over whatever procedure the window has now.
    auto current = reinterpret_cast<WNDPROC>(SetProc(hwnd, chain->unicode, ChainProc));
    if (!current) return false;
    chain->original = current;
  }
  if (!chain) {
    auto fresh = std::make_unique<Chain>();
    fresh->unicode = IsWindowUnicode(hwnd) != FALSE;
    fresh->original = reinterpret_cast<WNDPROC>(SetProc(hwnd, fresh->unicode, ChainProc));
    if (!fresh->original) return false;
    chain = fresh.get();
    Chains()[hwnd] = std::move(fresh);
  }
  for (Link& link : chain->links) {
    if (!link.removed && link.proc == proc && link.id == id) {
      link.data = data;
      return true;
    }
  }
  chain->links.push_back({proc, id, data, false});
  return true;
}

bool Get(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* data) {
  Chain* chain = Find(hwnd);
  if (!chain) return false;
  for (const Link& link : chain->links) {
    if (!link.removed && link.proc == proc && link.id == id) {
      if (data) *data = link.data;
      return true;
    }
  }
  return false;
}

void Remove(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
  Chain* chain = Find(hwnd);
  if (!chain) return;
  for (Link& link : chain->links) {
    if (link.proc == proc && link.id == id) link.removed = true;
  }
  if (chain->depth == 0) Tidy(hwnd, chain);
}

LRESULT CallNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Chain* chain = Find(hwnd);
  if (!chain) return DefWindowProcW(hwnd, msg, wp, lp);
  const int from = chain->running < 0 ? int(chain->links.size()) : chain->running;
  return Run(hwnd, chain, LinkBelow(*chain, from), msg, wp, lp);
}

}  // namespace dulib::subclass
