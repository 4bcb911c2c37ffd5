// Stream and storage persistence of the add-on's controls.
#include "platform/com/win32/control-persistence.h"

#include "platform/base/win32/bstr.h"
#include "platform/com/core/control-stream.h"

#include <vector>

namespace com {
namespace {

const wchar_t ContentsStream[] = L"Contents";

// An IStream read from its current position to its end.
class StreamSource : public ByteSource {
public:
  explicit StreamSource(IStream *stream) : stream_(stream) {
    STATSTG stat = {};
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER at = {};
    if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) &&
        SUCCEEDED(stream->Seek(zero, STREAM_SEEK_CUR, &at)) && stat.cbSize.QuadPart >= at.QuadPart)
      remaining_ = stat.cbSize.QuadPart - at.QuadPart;
  }
  bool read(void *into, std::size_t size) override {
    if (size > remaining_)
      return false;
    ULONG got = 0;
    if (size && (FAILED(stream_->Read(into, static_cast<ULONG>(size), &got)) || got != size))
      return false;
    remaining_ -= size;
    return true;
  }
  std::uint64_t remaining() const override { return remaining_; }

private:
  IStream *stream_;
  std::uint64_t remaining_ = 0;
};

HRESULT loadStatus(StreamStatus status) {
  switch (status) {
  case StreamStatus::Ok:
    return S_OK;
  case StreamStatus::NewerVersion:
    return E_FAIL;
  case StreamStatus::Truncated:
    return STG_E_READFAULT;
  default:
    return STG_E_INVALIDHEADER;
  }
}

} // namespace

HRESULT STDMETHODCALLTYPE ControlPersistence::GetClassID(CLSID *pClassID) {
  if (!pClassID)
    return E_POINTER;
  *pClassID = controlClassId();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlPersistence::IsDirty() {
  return controlState().requiresSave ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE ControlPersistence::Load(LPSTREAM pStm) {
  if (!pStm)
    return E_POINTER;
  StreamSource source(pStm);
  ControlProperties properties;
  const StreamStatus status = readControlProperties(source, persistedTextCount(), properties);
  if (status != StreamStatus::Ok)
    return loadStatus(status);
  // A text the control refuses (say, a document that does not parse) fails
  // the whole load: the texts put before it get their earlier values back,
  // so a failed load changes nothing.
  std::vector<base::Bstr> earlier(properties.texts.size());
  for (std::size_t i = 0; i < earlier.size(); ++i) {
    const HRESULT hr = getPersistedText(i, earlier[i].receive());
    if (FAILED(hr))
      return hr;
  }
  for (std::size_t i = 0; i < properties.texts.size(); ++i) {
    const StoredText &text = properties.texts[i];
    BSTR value = nullptr;
    HRESULT hr = S_OK;
    if (!text.null) {
      value = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.units.data()),
                                static_cast<UINT>(text.units.size()));
      if (!value)
        hr = E_OUTOFMEMORY;
    }
    if (SUCCEEDED(hr))
      hr = putPersistedText(i, value);
    SysFreeString(value);
    if (FAILED(hr)) {
      while (i-- > 0)
        putPersistedText(i, earlier[i].get());
      return hr;
    }
  }
  ControlState &state = controlState();
  state.extent.cx = static_cast<LONG>(properties.width);
  state.extent.cy = static_cast<LONG>(properties.height);
  state.requiresSave = false;
  return S_OK;
}

HRESULT ControlPersistence::saveBytes(std::string &bytes) {
  ControlProperties properties;
  properties.width = static_cast<std::uint32_t>(controlState().extent.cx);
  properties.height = static_cast<std::uint32_t>(controlState().extent.cy);
  properties.texts.resize(persistedTextCount());
  for (std::size_t i = 0; i < properties.texts.size(); ++i) {
    base::Bstr text;
    const HRESULT hr = getPersistedText(i, text.receive());
    // A text whose get gives no copy is stored as a null text, which its
    // put accepts or refuses on load as it would from the container.
    if (FAILED(hr) && hr != E_OUTOFMEMORY)
      return hr;
    StoredText &stored = properties.texts[i];
    stored.null = text.get() == nullptr;
    if (text.get())
      stored.units.assign(reinterpret_cast<const char16_t *>(text.get()), text.length());
  }
  bytes = writeControlProperties(properties);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlPersistence::Save(LPSTREAM pStm, BOOL fClearDirty) {
  if (!pStm)
    return E_POINTER;
  std::string bytes;
  HRESULT hr = saveBytes(bytes);
  if (FAILED(hr))
    return hr;
  ULONG written = 0;
  hr = pStm->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (FAILED(hr))
    return hr;
  if (written != bytes.size())
    return STG_E_WRITEFAULT;
  if (fClearDirty)
    controlState().requiresSave = false;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlPersistence::GetSizeMax(ULARGE_INTEGER *pCbSize) {
  if (!pCbSize)
    return E_POINTER;
  std::string bytes;
  const HRESULT hr = saveBytes(bytes);
  if (FAILED(hr))
    return hr;
  pCbSize->QuadPart = bytes.size();
  return S_OK;
}

// A new control keeps what its constructor made.
HRESULT STDMETHODCALLTYPE ControlPersistence::InitNew() { return S_OK; }

HRESULT STDMETHODCALLTYPE ControlPersistence::InitNew(IStorage *pStg) {
  return pStg ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE ControlPersistence::Load(IStorage *pStg) {
  if (!pStg)
    return E_POINTER;
  base::ComPtr<IStream> stream;
  const HRESULT hr = pStg->OpenStream(ContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                      stream.receive());
  if (FAILED(hr))
    return hr;
  return Load(stream.get());
}

HRESULT STDMETHODCALLTYPE ControlPersistence::Save(IStorage *pStgSave, BOOL) {
  if (!pStgSave)
    return E_POINTER;
  base::ComPtr<IStream> stream;
  const HRESULT hr = pStgSave->CreateStream(
      ContentsStream, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.receive());
  if (FAILED(hr))
    return hr;
  return Save(stream.get(), TRUE);
}

HRESULT STDMETHODCALLTYPE ControlPersistence::SaveCompleted(IStorage *) { return S_OK; }
HRESULT STDMETHODCALLTYPE ControlPersistence::HandsOffStorage() { return S_OK; }

} // namespace com
