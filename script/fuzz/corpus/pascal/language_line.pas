#language BasicScript
x = 1 + _
 2
