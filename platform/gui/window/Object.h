// CObject and run-time classes: class names, IsKindOf, and creation by run-time class.
#pragma once

#include "platform/core/Types.h"

class CObject;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class (nullptr when the class is not creatable).
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // A creatable class registered under that name (IMPLEMENT_DYNCREATE), or nullptr.
    static const CRuntimeClass* FromName(LPCSTR lpszClassName);
    static const CRuntimeClass* FromName(LPCWSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);
};

namespace qor::gui {
// Registers a creatable class by name (done by IMPLEMENT_DYNCREATE).
struct RuntimeClassRegistrar
{
    explicit RuntimeClassRegistrar(const CRuntimeClass* cls);
};
} // namespace qor::gui

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

class CObject
{
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    static const CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass() { return RUNTIME_CLASS(CObject); }

protected:
    CObject() = default;

public:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static const CRuntimeClass class##class_name;                                                                      \
    static CRuntimeClass* GetThisClass() { return RUNTIME_CLASS(class_name); }                                         \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS_QOR(class_name, base_class_name, wSchema, pfnNew)                                       \
    const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), wSchema,   \
                                                         pfnNew, RUNTIME_CLASS(base_class_name)};                      \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    IMPLEMENT_RUNTIMECLASS_QOR(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    IMPLEMENT_RUNTIMECLASS_QOR(class_name, base_class_name, 0xFFFF, class_name::CreateObject)                          \
    static const qor::gui::RuntimeClassRegistrar qor_register_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                                         \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    IMPLEMENT_RUNTIMECLASS_QOR(class_name, base_class_name, wSchema, class_name::CreateObject)                         \
    static const qor::gui::RuntimeClassRegistrar qor_register_##class_name(RUNTIME_CLASS(class_name));

// Checked downcast: nullptr when the object is not of that class.
#define DYNAMIC_DOWNCAST(class_name, object) (qor::gui::DynamicDowncast<class_name>(object))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

namespace qor::gui {
template <class T>
T* DynamicDowncast(CObject* p)
{
    return (p && p->IsKindOf(T::GetThisClass())) ? static_cast<T*>(p) : nullptr;
}
} // namespace qor::gui
