// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

// The whole public interface of the toolkit in one include.
#include "cchasedialog.h"
#include "ccheckbox.h"
#include "cfancytitle.h"
#include "cfile.h"
#include "cgenericds.h"
#include "chboxlayout.h"
#include "cintvalidator.h"
#include "cmenu.h"
#include "cradiobutton.h"
#include "ctabledelegate.h"
#include "ctableview.h"
#include "cuisingleton.h"
#include "cwarningdlg.h"
#include "cwidgetitem.h"
#include "cwidgetsizefactory.h"
#include "guitext.h"
#include "targetpath.h"
#include "windowhelpers.h"
