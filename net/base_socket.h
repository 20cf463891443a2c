// CBaseSocket: the root of the engine's socket classes; owns the slot layout and Close.
// The destructor never closes: every user closes its socket explicitly.
#pragma once

#include <winsock2.h>

class CBaseSocket {
public:
    CBaseSocket();
    virtual ~CBaseSocket();
    CBaseSocket(const CBaseSocket&) = delete;
    CBaseSocket& operator=(const CBaseSocket&) = delete;

    virtual bool Create();
    // Also puts the invalid marker back, so a second Close is harmless.
    virtual bool Close();
    virtual bool Send(const char* buffer, int length, int flags);
    virtual int Receive(char* buffer, int capacity, int flags);

    SOCKET Handle() const { return handle; }
    const sockaddr_in& Address() const { return address; }

protected:
    SOCKET handle;
    sockaddr_in address;
};
