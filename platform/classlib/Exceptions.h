#pragma once
// The class library's exception hierarchy. Callers recognise a failure by its class name
// (Fennick tells a bad command line by "EConvertError"), so every class reports its own.
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }
    std::string Message;
};

#define QUELORA_EXCEPTION_CLASS(Name, Base)                                  \
    class Name : public Base {                                               \
    public:                                                                  \
        using Base::Base;                                                    \
        const char* ClassName() const override { return #Name; }             \
    }

QUELORA_EXCEPTION_CLASS(EConvertError, Exception);
QUELORA_EXCEPTION_CLASS(ERegistryException, Exception);
QUELORA_EXCEPTION_CLASS(EStreamError, Exception);
QUELORA_EXCEPTION_CLASS(EFCreateError, EStreamError);
QUELORA_EXCEPTION_CLASS(EFOpenError, EStreamError);
QUELORA_EXCEPTION_CLASS(EStringListError, Exception);
