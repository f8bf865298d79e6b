#pragma once
// Module start and end hooks: a static GModuleCtor calls its function once when its module is initialised, a
// static GModuleDtor calls its function when the module is unloaded.

class GModuleCtor {
public:
    explicit GModuleCtor(void (*func)()) { func(); }
};

class GModuleDtor {
public:
    explicit GModuleDtor(void (*func)()) : m_func(func) {}
    ~GModuleDtor() { m_func(); }
    GModuleDtor(const GModuleDtor&) = delete;
    GModuleDtor& operator=(const GModuleDtor&) = delete;

private:
    void (*m_func)();
};
