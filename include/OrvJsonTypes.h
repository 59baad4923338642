/*
 * OrvJson: the types a C++ host shares with the library. Included by
 * OrvJson.h and by orvjson.hpp.
 */
#ifndef ORVJSON_TYPES_H
#define ORVJSON_TYPES_H

#include <string>
#include <vector>

/* ---------------------------------------------------------------------------
 * Type codes. Three tables, in which the same number can mean different
 * things: 3 is an object in all three, but 32 is a 32-bit integer as an item
 * and "a 32-bit integer or null" as a member, and 5 is a string as an item or
 * element while members report strings as 1024.
 * ------------------------------------------------------------------------ */

/* Item type codes: GetItemType and GetArryItemType. */
enum OrvItemType {
  OrvItemNull = 0,
  OrvItemObject = 3,
  OrvItemArray = 4,
  OrvItemString = 5,
  OrvItemBool = 8,
  OrvItemInt = 32,     /* -2^31 to 2^31-1 */
  OrvItemUint = 64,    /* 2^31 to 2^32-1 */
  OrvItemInt64 = 128,  /* any other integer from -2^63 to 2^63-1 */
  OrvItemUint64 = 256, /* 2^63 to 2^64-1 */
  OrvItemDouble = 512
};

/* Member type codes: GetTagCollect on an object root. */
enum OrvMemberType {
  OrvMemberObject = 3,
  OrvMemberArray = 4,
  OrvMemberBool = 8,
  OrvMemberIntOrNull = 32, /* -2^31 to 2^31-1, and null */
  OrvMemberInt64 = 128,    /* any other integer from -2^63 to 2^63-1 (2^31 to 2^32-1 too) */
  OrvMemberUint64 = 256,   /* 2^63 to 2^64-1 */
  OrvMemberDouble = 512,
  OrvMemberString = 1024
};

/* Element kinds: GetTagCollect on an array root (RapidJSON's value types). */
enum OrvElementKind {
  OrvElementNull = 0,
  OrvElementFalse = 1,
  OrvElementTrue = 2,
  OrvElementObject = 3,
  OrvElementArray = 4,
  OrvElementString = 5,
  OrvElementNumber = 6
};

/* ---------------------------------------------------------------------------
 * Host-side member list, filled by GetTagCollect
 * ------------------------------------------------------------------------ */

/* One member of a document: its name (up to its first NUL byte) and a type
 * code; for an array root the name is empty and the type is the element's
 * kind. */
struct OrvTagItem {
  std::string name;
  int type = 0;
};

/* The host's list. The library only appends to m_items; m_reserved belongs to
 * the host and is never read or written by the library. */
class OrvVector {
 public:
  void* m_reserved = nullptr;
  std::vector<OrvTagItem> m_items;
};

#endif /* ORVJSON_TYPES_H */
