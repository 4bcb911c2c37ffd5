// Stream and storage persistence of an ActiveX control: the extent and the
// control's persisted texts in the layout of core/control-stream.h, in the
// stream itself or in the storage's stream "Contents". Loading checks the
// whole stream before the first text is handed to the control, so a
// damaged stream changes nothing; a successful load or a save asked to
// clear the requires-save state leaves the control clean.
#ifndef PLATFORM_COM_CONTROL_PERSISTENCE_H
#define PLATFORM_COM_CONTROL_PERSISTENCE_H

#include "platform/com/win32/control-state.h"

#include <ocidl.h>

#include <cstddef>
#include <string>

namespace com {

class ControlPersistence : public IPersistStreamInit, public IPersistStorage {
public:
  virtual ~ControlPersistence() = default;

  // IPersist (both interfaces)
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;

  // IPersistStreamInit
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pCbSize) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;

  // IPersistStorage
  HRESULT STDMETHODCALLTYPE InitNew(IStorage *pStg) override;
  HRESULT STDMETHODCALLTYPE Load(IStorage *pStg) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage *pStgSave, BOOL fSameAsLoad) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage *pStgNew) override;
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override;

protected:
  virtual ControlState &controlState() = 0;
  virtual const CLSID &controlClassId() const = 0;
  // The persisted texts after the extent, in the property map's order: read
  // through their get operations, handed back through their put operations.
  virtual std::size_t persistedTextCount() const = 0;
  virtual HRESULT getPersistedText(std::size_t index, BSTR *text) = 0;
  virtual HRESULT putPersistedText(std::size_t index, BSTR text) = 0;

private:
  HRESULT saveBytes(std::string &bytes);
};

} // namespace com

#endif
