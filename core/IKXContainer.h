// An ordered entity stream with its own current attribute record: the
// document for the top level, a block for its body.
#pragma once

#include "CKXAttribute.h"
#include "IKXEnt.h"

class CKXAttribTable;

class IKXContainer {
public:
    IKXContainer() = default;
    IKXContainer(const IKXContainer&) = delete;
    IKXContainer& operator=(const IKXContainer&) = delete;
    virtual ~IKXContainer() = default;

    /* 0 */ virtual int AddEnt(KXEntPtr ent, bool growExtents, IKXContainer* target) = 0;
    /* 1 */ virtual KXEntList& GetEntList() = 0;
    /* 2 */ virtual IKXEnt* GetEnt(int index) = 0;
    /* 3 */ virtual int GetCount() const = 0;
    /* 4 */ virtual void ResetExtents() = 0;
    /* 5 */ virtual int SetAttrib(CKXAttribTable* tables, const CKXAttribute* requested) = 0;
    /* 6 */ virtual int GetAttrib(CKXAttribute* out) const = 0;
};
