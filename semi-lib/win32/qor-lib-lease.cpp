// The shared QorLib class factory, held while any lease lives.
#include "semi-lib/win32/qor-lib-lease.h"

// The QorLib service's class identifier.
#include "QorLib01.h"

#include <mutex>

namespace semi_win32 {

namespace {

struct SharedFactory {
  std::mutex lock;
  base::ComPtr<IClassFactory> factory;
  long leases = 0;
};

// Never destroyed: at process exit the other module may be gone already.
SharedFactory &shared() {
  static SharedFactory *instance = new SharedFactory;
  return *instance;
}

constexpr DWORD kContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

} // namespace

QorLibLease::~QorLibLease() {
  if (!held_)
    return;
  base::ComPtr<IClassFactory> last;
  {
    std::lock_guard<std::mutex> guard(shared().lock);
    if (--shared().leases == 0)
      last = std::move(shared().factory);
  }
  // Released outside the lock: the release may run the other module's code.
}

HRESULT QorLibLease::create(IQorLib **out) {
  *out = nullptr;
  base::ComPtr<IClassFactory> factory;
  {
    std::lock_guard<std::mutex> guard(shared().lock);
    if (!shared().factory) {
      const HRESULT hr = CoGetClassObject(CLSID_QorLib, kContext, nullptr, IID_IClassFactory,
                                          shared().factory.receiveVoid());
      if (FAILED(hr))
        return hr;
    }
    factory = shared().factory;
    if (!held_) {
      held_ = true;
      ++shared().leases;
    }
  }
  return factory->CreateInstance(nullptr, IID_IQorLib, reinterpret_cast<void **>(out));
}

} // namespace semi_win32
