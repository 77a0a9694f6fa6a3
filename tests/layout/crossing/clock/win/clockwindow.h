// A header of the clock program, which its dialogs do not link.
#pragma once
