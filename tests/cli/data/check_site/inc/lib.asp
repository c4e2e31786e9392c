<%
Function Add(p, q)
Add = p + q
End Function
%>
