// The file stores of the persistence component.
#include "clipboard-checker/core/persist-store.h"

#include "platform/components/core/exception.h"

#include <algorithm>

namespace lexitray {

KfpPersistStore::KfpPersistStore(std::string fileName, const std::string &key,
                                 components::FileSystem &files)
    : fileName_(std::move(fileName)), files_(files) {
  if (files_.fileExists(fileName_))
    store_.LoadFromFile(fileName_, files_);
  store_.SetCurrentKey(key);
}

std::string KfpPersistStore::readBinary(const std::string &name) {
  std::string data(store_.GetDataSize(name), '\0');
  std::size_t size = store_.ReadBinaryData(name, &data[0], data.size());
  data.resize(std::min(size, data.size()));
  return data;
}

void KfpPersistStore::commit() {
  if (!store_.SaveToFile(fileName_, files_))
    throw components::EWriteError("Cannot write the store file " + fileName_);
}

} // namespace lexitray
