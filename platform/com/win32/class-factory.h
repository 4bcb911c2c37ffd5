// The class object of one class: refuses aggregation, creates an instance
// per call or, for a singleton class, hands out the one instance of the
// process.
#ifndef PLATFORM_COM_CLASS_FACTORY_H
#define PLATFORM_COM_CLASS_FACTORY_H

#include "platform/com/win32/server.h"

#include <windows.h>
#include <unknwn.h>

namespace com {

class ClassFactory : public IClassFactory {
public:
  explicit ClassFactory(const ClassEntry &entry) : entry_(entry) {}
  virtual ~ClassFactory() = default;
  static const struct InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
  HRESULT createSingleton(REFIID riid, void **out);
  const ClassEntry &entry_;
};

} // namespace com

#endif
