// Owning wrappers for the handles the program opens.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <utility>

namespace framework {

// The base of a class that owns something and so is not copied.
class NonCopyable {
protected:
    NonCopyable() = default;
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

// Owns one handle (moved, never copied); Traits says what "empty" is and how
// to close it.
template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : m_h(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_h); }

    Type release() noexcept { return std::exchange(m_h, Traits::Empty()); }
    void reset(Type h = Traits::Empty()) noexcept
    {
        if (Traits::IsValid(m_h))
            Traits::Close(m_h);
        m_h = h;
    }
    // For out-parameters of the API: closes the old handle first.
    Type* put() noexcept
    {
        reset();
        return &m_h;
    }

private:
    Type m_h = Traits::Empty();
};

template <typename T, auto CloseFn> struct NullIsEmpty {
    using Type = T;
    static constexpr T Empty() noexcept { return nullptr; }
    static bool IsValid(T h) noexcept { return h != nullptr; }
    static void Close(T h) noexcept { CloseFn(h); }
};

// Kernel handles use both NULL and INVALID_HANDLE_VALUE for "none".
template <auto CloseFn> struct KernelIsEmpty : NullIsEmpty<HANDLE, CloseFn> {
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
};

using KernelHandle = UniqueHandle<KernelIsEmpty<::CloseHandle>>;
using FindHandle = UniqueHandle<KernelIsEmpty<::FindClose>>;
using RegKey = UniqueHandle<NullIsEmpty<HKEY, ::RegCloseKey>>;
using Library = UniqueHandle<NullIsEmpty<HMODULE, ::FreeLibrary>>;
// A device context of CreateDC or CreateCompatibleDC.
using OwnedDc = UniqueHandle<NullIsEmpty<HDC, ::DeleteDC>>;
template <typename T> using GdiObject = UniqueHandle<NullIsEmpty<T, ::DeleteObject>>;
// Memory the shell hands out with CoTaskMemAlloc: PIDLs, known-folder paths.
template <typename T> using CoTaskMem = UniqueHandle<NullIsEmpty<T, ::CoTaskMemFree>>;

// Owns one reference to a COM interface (moved, never copied).
template <typename T> class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        reset(std::exchange(other.m_p, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    void reset(T* p = nullptr) noexcept
    {
        if (m_p)
            m_p->Release();
        m_p = p;
    }
    // For the void** out-parameter of CoCreateInstance and QueryInterface:
    // releases the old reference first.
    void** put() noexcept
    {
        reset();
        return reinterpret_cast<void**>(&m_p);
    }

private:
    T* m_p = nullptr;
};

// COM for the current thread while it lives.
class ComScope : NonCopyable {
public:
    ComScope() noexcept : m_initialized(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComScope()
    {
        if (m_initialized)
            ::CoUninitialize();
    }

private:
    bool m_initialized;
};

// A window's device context from GetDC, released on scope exit.
class WindowDc : NonCopyable {
public:
    explicit WindowDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_hdc)
            ::ReleaseDC(m_hwnd, m_hdc);
    }
    HDC get() const noexcept { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc : NonCopyable {
public:
    explicit PaintDc(HWND hwnd) noexcept : m_hwnd(hwnd) { ::BeginPaint(hwnd, &m_ps); }
    ~PaintDc() { ::EndPaint(m_hwnd, &m_ps); }
    HDC get() const noexcept { return m_ps.hdc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
};

// Selects a GDI object into a DC and puts the previous one back on scope exit.
class SelectObjectGuard : NonCopyable {
public:
    SelectObjectGuard(HDC hdc, HGDIOBJ obj) noexcept : m_hdc(hdc), m_old(::SelectObject(hdc, obj)) {}
    ~SelectObjectGuard()
    {
        if (m_old && m_old != HGDI_ERROR)
            ::SelectObject(m_hdc, m_old);
    }

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// Selects and realises a palette (none: does nothing); the previous palette is
// put back on scope exit.
class SelectPaletteGuard : NonCopyable {
public:
    SelectPaletteGuard(HDC hdc, HPALETTE palette, BOOL background) noexcept
        : m_hdc(hdc), m_old(palette ? ::SelectPalette(hdc, palette, background) : nullptr)
    {
        if (palette)
            ::RealizePalette(hdc);
    }
    ~SelectPaletteGuard()
    {
        if (m_old)
            ::SelectPalette(m_hdc, m_old, TRUE);
    }

private:
    HDC m_hdc;
    HPALETTE m_old;
};

}  // namespace framework
