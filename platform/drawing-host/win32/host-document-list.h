// The open documents.
#ifndef PLATFORM_DRAWING_HOST_HOST_DOCUMENT_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_DOCUMENT_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-document.h"

#include <string>
#include <vector>

namespace drawhost {

class DocumentList : public com::Dispatch<IDrawDocuments> {
public:
  explicit DocumentList(std::vector<ComPtr<Document>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawDocument **ppDocument) override;

private:
  std::vector<ComPtr<Document>> items_;
};

} // namespace drawhost

#endif
