x = 
y = 1 2 : z = )
If a Then b Else c Else d
Select Case x
Case 1 To 5
Case Is > 5
End Select
Do While x
Loop Until y
For i = 1 To 2
For i = 1 To 3
Next i
Exit Do
foo(a, b)
Const c = d
Dim e(n)
Me = 1
Loop
Next
Property Get P
End Property
Class C
Public Default Property Let Q(v)
End Property
Private Default Sub S
End Sub
x = "unterminated
y = &HFFFFFFFFF + 1E + [bracket
End Class