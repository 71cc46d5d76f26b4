// Opens the start page that is linked into this program as
// res://<own path>/HTML/INDEX, through an asynchronous URL moniker bind as a
// browser control does, and follows every link of every page and style sheet
// it reaches. Prints each link that does not resolve and a count; exit code 0
// when every link resolves.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <urlmon.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// Collects what an asynchronous bind delivers; the message loop runs until
// the bind stops.
class Download : public IBindStatusCallback {
 public:
  std::string bytes;
  bool done = false;
  HRESULT result = S_OK;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IBindStatusCallback) {
      *out = static_cast<IBindStatusCallback*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of the one who binds, for the bind's whole length.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
  STDMETHODIMP OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
  STDMETHODIMP OnStopBinding(HRESULT hr, LPCWSTR) override {
    result = hr;
    done = true;
    return S_OK;
  }
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override {
    *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA | BINDF_GETNEWESTVERSION;
    const ULONG size = info->cbSize;
    ZeroMemory(info, size);
    info->cbSize = size;
    return S_OK;
  }
  STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium) override {
    if (!medium || medium->tymed != TYMED_ISTREAM) return S_OK;
    char buffer[4096];
    for (;;) {
      ULONG read = 0;
      const HRESULT hr = medium->pstm->Read(buffer, sizeof buffer, &read);
      bytes.append(buffer, read);
      if (hr != S_OK || read == 0) return S_OK;
    }
  }
  STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }
};

// The resource's bytes; nothing when the bind fails.
std::optional<std::string> Fetch(const std::wstring& url) {
  IMoniker* moniker = nullptr;
  if (FAILED(CreateURLMonikerEx(nullptr, url.c_str(), &moniker, URL_MK_UNIFORM))) return std::nullopt;
  Download download;
  IBindCtx* context = nullptr;
  IStream* stream = nullptr;
  HRESULT hr = CreateAsyncBindCtx(0, &download, nullptr, &context);
  if (SUCCEEDED(hr)) hr = moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&stream));
  MSG message;
  while (SUCCEEDED(hr) && !download.done && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (stream) stream->Release();
  if (context) context->Release();
  moniker->Release();
  if (FAILED(hr) || FAILED(download.result)) return std::nullopt;
  return download.bytes;
}

std::wstring Wide(const std::string& text, UINT codePage) {
  std::wstring wide(MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
  return wide;
}

void Print(const std::wstring& text) {
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), int(utf8.size()), nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fwrite("\n", 1, 1, stdout);
}

bool StartsWithNoCase(const std::string& text, size_t at, const char* word) {
  for (size_t i = 0; word[i]; ++i)
    if (at + i >= text.size() || std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
  return true;
}

// The value that starts at the position: quoted, or up to a blank or ">".
std::string ValueAt(const std::string& text, size_t at, const char* ends) {
  if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
    const size_t end = text.find(text[at], at + 1);
    return text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
  }
  const size_t end = text.find_first_of(ends, at);
  return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// The href, src and background attributes of a page and the url() of its
// styles, in one pass.
std::vector<std::string> LinksOf(const std::string& text) {
  std::vector<std::string> links;
  for (size_t i = 0; i < text.size(); ++i) {
    for (const char* attribute : {"href=", "src=", "background="})
      if (StartsWithNoCase(text, i, attribute)) links.push_back(ValueAt(text, i + std::strlen(attribute), " \t\r\n>"));
    if (StartsWithNoCase(text, i, "url(")) {
      std::string value = ValueAt(text, i + 4, ")");
      links.push_back(value);
    }
  }
  return links;
}

// Links to other places or to a place inside the page are not the site's.
bool Followed(const std::string& link) {
  if (link.empty() || link[0] == '#') return false;
  for (const char* scheme : {"http:", "https:", "mailto:", "javascript:", "ftp:"})
    if (StartsWithNoCase(link, 0, scheme)) return false;
  return true;
}

std::optional<std::wstring> Combined(const std::wstring& base, const std::string& link) {
  const size_t cut = link.find_first_of("#?");
  IUri* baseUri = nullptr;
  IUri* combined = nullptr;
  if (FAILED(CreateUri(base.c_str(), Uri_CREATE_ALLOW_IMPLICIT_FILE_SCHEME, 0, &baseUri))) return std::nullopt;
  const HRESULT hr = CoInternetCombineUrlEx(baseUri, Wide(link.substr(0, cut), 1251).c_str(), 0, &combined, 0);
  baseUri->Release();
  if (FAILED(hr)) return std::nullopt;
  BSTR text = nullptr;
  std::optional<std::wstring> url;
  if (SUCCEEDED(combined->GetDisplayUri(&text))) url = std::wstring(text, SysStringLen(text));
  SysFreeString(text);
  combined->Release();
  return url;
}

// A page or a style sheet: its links are followed in turn.
bool HasLinks(const std::wstring& url) {
  const size_t slash = url.rfind(L'/'), typeStart = url.rfind(L'/', slash - 1) + 1;
  std::wstring type = url.substr(typeStart, slash - typeStart);
  CharUpperW(type.data());
  return type == L"HTML" || type == L"HTM" || type == L"CSS";
}

}  // namespace

int wmain() {
  // UTF-8 with "\n" line ends, on a console as in a pipe.
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  if (FAILED(CoInitialize(nullptr))) return 1;
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring start = std::wstring(L"res://") + self + L"/HTML/INDEX";

  const std::optional<std::string> startBytes = Fetch(start);
  if (!startBytes) {
    Print(L"Стартовая страница не открылась: " + start);
    return 1;
  }
  // Every resource reached, by its combined URL; those with links wait in turn.
  std::set<std::wstring> seen = {start};
  std::deque<std::pair<std::wstring, std::string>> pages = {{start, *startBytes}};
  int broken = 0;
  while (!pages.empty()) {
    const auto [page, bytes] = pages.front();
    pages.pop_front();
    for (const std::string& link : LinksOf(bytes)) {
      if (!Followed(link)) continue;
      const std::optional<std::wstring> target = Combined(page, link);
      if (target && seen.count(*target)) continue;
      const std::optional<std::string> content = target ? Fetch(*target) : std::nullopt;
      if (!content) {
        Print(page.substr(page.rfind(L'/', page.rfind(L'/') - 1) + 1) + L" -> " + Wide(link, 1251));
        ++broken;
        continue;
      }
      seen.insert(*target);
      if (HasLinks(*target)) pages.emplace_back(*target, *content);
    }
  }
  const size_t resources = seen.size();
  Print(L"Ресурсов открыто: " + std::to_wstring(resources) + L", ссылок без ресурса: " + std::to_wstring(broken));
  CoUninitialize();
  return broken == 0 ? 0 : 1;
}
