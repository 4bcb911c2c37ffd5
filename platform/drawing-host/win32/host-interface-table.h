// The interface table of a stand-in host object that implements one
// dispatch interface: the interface itself and IDispatch, both answered by
// the same face.
#ifndef PLATFORM_DRAWING_HOST_HOST_INTERFACE_TABLE_H
#define PLATFORM_DRAWING_HOST_HOST_INTERFACE_TABLE_H

#define INTERFACE_TABLE(Class, Interface)                                                          \
  const com::InterfaceEntry *Class::interfaces() {                                                 \
    static const com::InterfaceEntry table[] = {                                                   \
        {&IID_##Interface, com::interfaceOffset<Class, Interface>()},                              \
        {&IID_IDispatch, com::interfaceOffset<Class, Interface>()},                                \
        {nullptr, 0}};                                                                             \
    return table;                                                                                  \
  }

#endif
