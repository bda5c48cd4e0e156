/// @file
/// The Kinetra engine.
#pragma once

#include "adv_body.h"
#include "body.h"
#include "body_file.h"
#include "body_records.h"
#include "body_template.h"
#include "constraint.h"
#include "contacts.h"
#include "draw.h"
#include "list.h"
#include "mass.h"
#include "quadtree.h"
#include "query.h"
#include "refs.h"
#include "rig.h"
#include "snapshot.h"
#include "world.h"
#include "zone.h"
